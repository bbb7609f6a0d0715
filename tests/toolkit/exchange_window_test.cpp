// The data exchange against a window that records what it is asked.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "toolkit/dialog_base.h"

namespace {

using namespace toolkit;

class RecordingWindow final : public Window {
  public:
    std::map<int, std::string> texts;
    std::vector<std::string> calls;  // limits, texts set, messages and focus, in order

    const char* text(int id) override { return texts[id].c_str(); }
    void setText(int id, const char* text) override {
        texts[id] = text;
        calls.push_back("text " + std::to_string(id));
    }
    void setTextLimit(int id, int maxChars) override {
        calls.push_back("limit " + std::to_string(id) + " " + std::to_string(maxChars));
    }
    void messageBox(const char* text, uint32_t) override { calls.push_back(text); }
    void focus(int id) override { calls.push_back("focus " + std::to_string(id)); }
    void clearTree(int) override {}
    TreeItem insertItem(int, TreeItem, const char*, void*) override { return kNoItem; }
    int isExpanded(int, TreeItem) override { return 0; }
    void setExpanded(int, TreeItem, int) override {}
    int isChecked(int) override { return 0; }
    void setChecked(int, int) override {}
    void setRange(int, int, int) override {}
    void* selectedItemData(int) override { return nullptr; }
    void end(int) override {}
    void setReadOnly(int, int) override {}
};

// Writing sets the limit before the text; reading refuses a longer text (from a toolkit that
// could not limit it) with its message and the focus, and the field keeps its value.
TEST(TextExchangeTest, LimitIsSetBeforeTheTextAndLongerTextsAreRefused) {
    const struct {
        const char* typed;
        bool read;
    } cases[] = {{"fifteen chars!!", true}, {"sixteen chars!!!", false}, {"", true}};
    for (const auto& c : cases) {
        RecordingWindow window;
        std::string field = "Leg";
        DataExchange write(window, 0);
        write.text(1003, field, 15);
        EXPECT_EQ(window.calls, (std::vector<std::string>{"limit 1003 15", "text 1003"}));
        window.calls.clear();
        window.texts[1003] = c.typed;
        DataExchange read(window, 1);
        read.text(1003, field, 15);
        EXPECT_EQ(read.failed(), c.read ? 0 : 1) << c.typed;
        EXPECT_EQ(field, c.read ? c.typed : "Leg");
        std::vector<std::string> told;
        if (!c.read)
            told = {"Please enter no more than 15 characters.", "focus 1003"};
        EXPECT_EQ(window.calls, told) << c.typed;
    }
}

}  // namespace
