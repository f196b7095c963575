// The controls the About box lists beside F1 are those of the help on the
// editor, in its words, and the help's first page and the README name them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "editor/editor.h"
#include "support/testkit.h"

namespace {

std::string ReadText(const std::string& name) {
    testkit::Bytes bytes = testkit::ReadFileBytes(std::string(ZARN_SOURCE_DIR) + "/" + name);
    return std::string(bytes.begin(), bytes.end());
}

// A topic of the help file as it is shown: without the marker that starts
// each line and the colour changes inside lines.
std::string HelpTopic(const std::string& file, const std::string& name) {
    std::istringstream in(file);
    std::string shown, line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line.rfind("|-", 0) == 0) {
            inside = line.substr(2) == name;
            continue;
        }
        if (!inside || line.empty() || line[0] == '*' || line[0] == '/' || line[0] == ':')
            continue;
        std::string text;
        for (size_t i = 1; i < line.size(); ++i) {
            if (line[i] == '\x1e')
                ++i;
            else
                text += line[i];
        }
        shown += text + "\n";
    }
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

TEST(AboutControls, AreTheHelpsAndTheReadmesControls) {
    const std::string help = ReadText("data/Brel.HLP"), readme = ReadText("README.md");
    const std::string onTheEditor = HelpTopic(help, "F1EDIT"), firstPage = HelpTopic(help, "MAIN");
    ASSERT_GE(AboutControls().size(), 8u);
    for (const EditorControl& c : AboutControls()) {
        const std::string name = c.name, word = name.substr(0, name.find(' '));
        EXPECT_TRUE(HasLineWith(onTheEditor, name, c.does)) << name;
        EXPECT_NE(firstPage.find(word), std::string::npos) << word;
        EXPECT_NE(readme.find(word), std::string::npos) << word;
    }
}

}  // namespace
