// The data exchange against a window that records what it is asked.
#include <gtest/gtest.h>

#include <cfloat>
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
    void setEnabled(int, int) override {}
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

// A number within low to high reads; one outside them, a whole number past the field's type
// included, is refused with the message that names the range, the focus on it, and the field
// keeps its value. A decimal past a double's range is not told apart from no number.
TEST(NumberExchangeTest, NumbersOutsideTheRangeAreRefusedNamingIt) {
    const char* const floats = "Please enter a number between -3.40282e+38 and 3.40282e+38.";
    const char* const frames = "Please enter a whole number between 0 and 255.";
    const struct {
        const char* typed;
        bool isFrame;  // an unsigned frame of 0 to 255, else a double within a float's range
        double read;   // the field afterwards
        const char* message;
    } cases[] = {
        {"1e38", false, 1e38, nullptr},
        {"-3.4e38", false, -3.4e38, nullptr},
        {"1e39", false, 7, floats},
        {"-1e39", false, 7, floats},
        {"1e400", false, 7, "Please enter a number."},
        {"255", true, 255, nullptr},
        {"0", true, 0, nullptr},
        {"256", true, 7, frames},
        {"99999", true, 7, frames},
        {"99999999999", true, 7, frames},
        {" +99999999999999999999 ", true, 7, frames},
        {"-1", true, 7, frames},
        {"12a", true, 7, "Please enter a whole number of 0 or more."},
        {"-", true, 7, "Please enter a whole number of 0 or more."},
    };
    for (const auto& c : cases) {
        RecordingWindow window;
        window.texts[1016] = c.typed;
        DataExchange read(window, 1);
        double got = 7;
        if (c.isFrame) {
            uint32_t frame = 7;
            read.number(1016, frame, 0u, 255u);
            got = frame;
        } else {
            read.number(1016, got, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX));
        }
        EXPECT_EQ(got, c.read) << c.typed;
        EXPECT_EQ(read.failed(), c.message != nullptr ? 1 : 0) << c.typed;
        std::vector<std::string> told;
        if (c.message != nullptr)
            told = {c.message, "focus 1016"};
        EXPECT_EQ(window.calls, told) << c.typed;
    }
}

}  // namespace
