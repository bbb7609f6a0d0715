// The toolkit's dialog classes on the module's side: a modal dialog and a property page built from
// a template, each with one data-exchange function that moves values between the controls and the
// dialog's fields in either direction, validating what it reads.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "toolkit/dialog_toolkit.h"

namespace toolkit {

// The messages of a field that does not hold what it must.
constexpr const char kAskWholeNumber[] = "Please enter a whole number.";
constexpr const char kAskUnsignedNumber[] = "Please enter a whole number of 0 or more.";
constexpr const char kAskNumber[] = "Please enter a number.";
// printf formats: a number of the field's kind outside the range it holds, with the range's ends.
constexpr const char kAskWholeNumberBetween[] = "Please enter a whole number between %s and %s.";
constexpr const char kAskNumberBetween[] = "Please enter a number between %s and %s.";
// printf format: the most characters a text field holds.
constexpr const char kAskShorterText[] = "Please enter no more than %d characters.";

// A tree view control of a dialog, bound to its window by the data exchange.
class TreeControl {
  public:
    // Removes every item.
    void clear();
    // Inserts an item as parent's last child (kNoItem: the top level), carrying data (not owned).
    TreeItem insert(TreeItem parent, const char* text, void* data);
    // The data of the selected item; null when nothing is selected or the control is not bound.
    void* selectedData();
    // The data of the items inserted since the last clear that show their children, so that a
    // list rebuilt from the same data can show the same branches open (expand).
    std::vector<void*> expandedData();
    // Shows the children of each item inserted since the last clear whose data is in data.
    void expand(const std::vector<void*>& data);

  private:
    friend class DataExchange;
    Window* window_ = nullptr;
    int id_ = kNoId;
    std::vector<std::pair<TreeItem, void*>> items_;  // inserted since the last clear
};

// One run of a data exchange. Writing (save 0) fills each control from its field. Reading
// (save 1) fills each field from its control in call order and stops at the first control whose
// text is not valid: the user is told in a message box, that control takes the focus, and it and
// every field after it keep their values.
class DataExchange {
  public:
    DataExchange(Window& window, int save) : window_(window), save_(save) {}

    // 1 once a control failed to read.
    int failed() const { return failed_; }

    // Binds a control object to its control, in either direction.
    void control(int id, TreeControl& control);
    // Text; with maxChars, the edit takes no more than that many characters as it is typed, and
    // a longer text (from a toolkit that cannot limit it) is refused on reading.
    void text(int id, std::string& field, int maxChars = 0);
    // A number of the field's type, within the type's range: int32_t a whole number, uint32_t a
    // whole number of 0 or more (no minus sign), double a finite decimal number. Shown in the
    // shortest form that reads back as the same value; a text that does not read as one is
    // refused with the type's message (kAskWholeNumber, kAskUnsignedNumber, kAskNumber).
    template <typename Number>
    void number(int id, Number& field);
    // The same within low to high: a number outside them is refused with the message that names
    // them (kAskWholeNumberBetween, kAskNumberBetween), so that a field never takes a number
    // it cannot hold (a float's range for a double field that is narrowed later).
    template <typename Number>
    void number(int id, Number& field, Number low, Number high);

  private:
    void fail(int id, const char* message);

    Window& window_;
    int save_;
    int failed_ = 0;
};

// The number types the exchange reads and writes: int32_t, uint32_t and double.
template <typename Number>
constexpr bool kExchangedNumber =
    std::is_same_v<Number, int32_t> || std::is_same_v<Number, uint32_t> ||
    std::is_same_v<Number, double>;

// The text of a number in the shortest form that reads back as the same value ("30", "0.5").
template <typename Number>
std::string numberText(Number value);
// Reads the whole of text as a Number (white space around it allowed, an optional "+", decimal
// digits only; for double also a point and an exponent, never "inf", "nan" or hexadecimal).
// 0, leaving *value, when the text is not one or the number is outside the type's range.
template <typename Number>
int parseNumber(const char* text, Number* value);

// A modal dialog built from a template. The dialog owns no window until doModal shows it.
class Dialog : public Handler {
  public:
    explicit Dialog(const DialogTemplate& layout) : layout_(layout) {}
    virtual ~Dialog() = default;

    // Shows the dialog and returns when it closes: kIdOk, kIdCancel, or kRunFailed.
    int doModal(Toolkit& toolkit);
    // Runs the data exchange in one direction; 0 when a control failed to read.
    int updateData(int save);

  protected:
    // The dialog's bindings, in binding order.
    virtual void exchange(DataExchange&) {}
    // The window is ready: fills the controls from the fields.
    virtual void onInitDialog() { updateData(0); }
    // A control other than OK and Cancel notified.
    virtual void onCommand(int, Notification) {}
    // OK: reads the fields and closes with kIdOk when they are valid.
    virtual void onOK();
    // Cancel: closes with kIdCancel.
    virtual void onCancel() { end(kIdCancel); }
    void end(int result);

    // The shown window; null while the dialog is not shown.
    Window* window() { return window_; }

  private:
    void initialise(Window& window) final;
    void command(int id, Notification what) final;

    const DialogTemplate& layout_;
    Window* window_ = nullptr;
};

// A page of a property sheet built from a template. Leaving the page reads its fields (an
// invalid one keeps the page shown); showing it again writes them back.
class PropertyPage : public Handler {
  public:
    explicit PropertyPage(const DialogTemplate& layout) : layout_(layout) {}
    virtual ~PropertyPage() = default;

    const DialogTemplate& layout() const { return layout_; }
    // Runs the data exchange in one direction; 0 when a control failed to read, 1 also when the
    // page was never shown.
    int updateData(int save);

  protected:
    virtual void exchange(DataExchange&) {}
    virtual void onInitDialog() { updateData(0); }
    virtual void onCommand(int, Notification) {}

    Window* window() { return window_; }

  private:
    void initialise(Window& window) final;
    void command(int id, Notification what) final;
    int leave() final { return updateData(1); }
    void enter() final { updateData(0); }

    const DialogTemplate& layout_;
    Window* window_ = nullptr;

    friend int runPropertySheet(Toolkit&, const char*, PropertyPage* const*, size_t);
};

// Shows a modal property sheet of the pages, in order, on the first page; kIdOk, kIdCancel or
// kRunFailed. At most kMaxPages pages.
constexpr size_t kMaxPages = 8;
int runPropertySheet(Toolkit& toolkit, const char* caption, PropertyPage* const* pages,
                     size_t pageCount);

}  // namespace toolkit
