// The data exchange and the tree control against a window that records what they ask of it.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "toolkit/dialog_base.h"

namespace {

using namespace toolkit;

class RecordingWindow final : public Window {
  public:
    std::map<int, std::string> texts;
    std::vector<std::string> calls;  // limits, texts set, messages and focus, in order
    std::set<TreeItem> expanded;
    TreeItem lastItem = kNoItem;

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
    void clearTree(int) override { expanded.clear(); }
    TreeItem insertItem(int, TreeItem, const char*, void*) override { return ++lastItem; }
    int isExpanded(int, TreeItem item) override { return expanded.count(item) != 0 ? 1 : 0; }
    void setExpanded(int, TreeItem item, int open) override {
        if (open)
            expanded.insert(item);
        else
            expanded.erase(item);
    }
    int isChecked(int) override { return 0; }
    void setChecked(int, int) override {}
    void setRange(int, int, int) override {}
    void* selectedItemData(int) override { return nullptr; }
    void end(int) override {}
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

// A list rebuilt from the same data opens the branches that were open, and only those.
TEST(TreeControlTest, RebuiltListKeepsOpenBranchesOpen) {
    RecordingWindow window;
    TreeControl tree;
    DataExchange bind(window, 0);
    bind.control(1006, tree);
    int limbs[4] = {};
    auto fill = [&] {
        for (int& limb : limbs)
            tree.insert(kNoItem, "limb", &limb);
    };
    fill();
    window.setExpanded(1006, 2, 1);  // limbs[1]
    window.setExpanded(1006, 4, 1);  // limbs[3]
    std::vector<void*> open = tree.expandedData();
    EXPECT_EQ(open, (std::vector<void*>{&limbs[1], &limbs[3]}));
    tree.clear();
    fill();
    tree.expand(open);
    EXPECT_EQ(window.expanded, (std::set<TreeItem>{6, 8}));
}

}  // namespace
