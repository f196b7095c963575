// Reading the help file and showing its topics in the viewer on the headless
// screen: paging, jumping to the ends and searching.
//
// Input: the help file, then the text to search for, between part separators.
#include <string>
#include <vector>

#include "base/config.h"
#include "fuzz_kit.h"
#include "platform/video.h"
#include "ui/help_viewer.h"

namespace {

// The name of the file's first topic: what follows "|" and one character.
std::string FirstTopic(const std::string& file) {
    size_t bar = file.find("\n|");
    std::string line = bar == std::string::npos ? "" : file.substr(bar + 1, 40);
    line = line.substr(0, line.find_first_of("\r\n"));
    return line.size() > 2 ? line.substr(2) : "";
}

// Printable ASCII only: the characters a script can type.
std::string Typeable(const std::string& text) {
    std::string out;
    for (char c : text.substr(0, kHelpSearchMax))
        if (c >= ' ' && c <= '~')
            out += c;
    return out;
}

void ShowTopic(const std::string& topic, HelpRange mode, const std::string& search) {
    std::string script = "key PgDn\nkey Down\nkey End\nkey Up\nkey Home\nkey S\ntype " + search +
                         "\nkey Enter\nkey F3\nkey PgUp\nkey Esc\n";
    if (mode == HelpRange::SearchToEnd)
        script = "type " + search + "\nkey Enter\n" + script;
    std::string error;
    if (!HeadlessLoadScript(script, error))
        fuzzkit::Fail("the viewer script: " + error);
    HelpOnGraphicsScreen(topic.c_str(), mode);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> parts = fuzzkit::SplitInput(data, size, 2);
    std::string topic = FirstTopic(parts[0]);
    std::string search = Typeable(parts[1]);
    fuzzkit::RunInput(Flavour::Heretic, "", [&] {
        fuzzkit::WriteFile(fuzzkit::ScratchFile("T.HLP"), parts[0]);
        SetField(config.helpFile, fuzzkit::ScratchFile("T.HLP").c_str());
        OpenHelpFile();
        for (const std::string& name : {topic, std::string("MAIN"), std::string()})
            for (HelpRange mode : {HelpRange::TopicOnly, HelpRange::ToEnd}) {
                bool fileOk = false;
                ReadHelpTopic(name.c_str(), mode, fileOk);
            }
        ShowTopic(topic, HelpRange::TopicOnly, search);
        ShowTopic("MAIN", HelpRange::ToEnd, search);
        ShowTopic(topic, HelpRange::SearchToEnd, search);
    });
    return 0;
}
