// The controls the About box lists beside F1 are those of the help on the
// editor, in its words, and the help's first page and the README name them.
#include <sstream>

#include "editor_fixture.h"
#include "support/testkit.h"
#include "ui/help_viewer.h"
#include "source_paths.h"

namespace {

// A topic of the shipped help file as the viewer shows it.
std::string HelpTopic(const char* name) {
    CloseHelpFile();
    SetField(config.helpFile, ZARN_SOURCE_DIR "/data/Brel.HLP");
    bool ok = false;
    std::string shown;
    for (const HelpLine& line : ReadHelpTopic(name, HelpRange::TopicOnly, ok))
        shown += HelpPlainText(line.text) + "\n";
    CloseHelpFile();
    return shown;
}

bool HasLineWith(const std::string& text, const std::string& first, const std::string& second) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        size_t at = line.find(first);
        if (at != std::string::npos && line.find(second, at + first.size()) != std::string::npos)
            return true;
    }
    return false;
}

using AboutTest = EditorTest;

TEST_F(AboutTest, ControlsAreTheHelpsAndTheReadmesControls) {
    const std::string onTheEditor = HelpTopic("F1EDIT"), firstPage = HelpTopic("MAIN");
    const testkit::Bytes readme = testkit::ReadFileBytes(ZARN_SOURCE_DIR "/README.md");
    const std::string readmeText(readme.begin(), readme.end());
    ASSERT_GE(AboutControls().size(), 8u);
    for (const EditorControl& c : AboutControls()) {
        const std::string name = c.name, word = name.substr(0, name.find(' '));
        EXPECT_TRUE(HasLineWith(onTheEditor, name, c.does)) << name;
        EXPECT_NE(firstPage.find(word), std::string::npos) << word;
        EXPECT_NE(readmeText.find(word), std::string::npos) << word;
    }
}

}  // namespace
