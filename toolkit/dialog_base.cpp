// Data exchange and the dialog classes' plumbing between the toolkit and the module's dialogs.
#include "toolkit/dialog_base.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>

namespace toolkit {
namespace {

// The text without white space around it.
std::string trimmed(const char* text) {
    if (text == nullptr)
        return std::string();
    const char* begin = text;
    while (*begin != '\0' && std::isspace(static_cast<unsigned char>(*begin)))
        ++begin;
    const char* end = begin + std::strlen(begin);
    while (end > begin && std::isspace(static_cast<unsigned char>(end[-1])))
        --end;
    return std::string(begin, end);
}

// Whether text is a decimal number: a sign, digits with an optional point (at least one digit),
// an optional exponent. No "inf", "nan" or hexadecimal forms.
bool isDecimal(const std::string& text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        size_t exponentDigits = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return i == text.size();
}

// One data exchange over the shown window in one direction; 0 when a control failed to read, 1
// also when nothing is shown.
int exchangeOver(Window* window, int save, const std::function<void(DataExchange&)>& exchange) {
    if (window == nullptr)
        return 1;
    DataExchange exchanger(*window, save);
    exchange(exchanger);
    return exchanger.failed() ? 0 : 1;
}

}  // namespace

template <typename Number>
int parseNumber(const char* text, Number* value) {
    static_assert(kExchangedNumber<Number>, "a number type the dialogs exchange");
    const std::string number = trimmed(text);
    if (std::is_floating_point_v<Number> && !isDecimal(number))
        return 0;
    // from_chars takes no leading "+", reads no other base and does not depend on the locale; it
    // refuses a number outside the type's range, and a minus sign for an unsigned type.
    const char* begin = number.c_str();
    const char* end = begin + number.size();
    if (*begin == '+' && ++begin != end && (*begin == '-' || *begin == '+'))
        return 0;
    Number result{};
    const std::from_chars_result read = std::from_chars(begin, end, result);
    if (begin == end || read.ec != std::errc() || read.ptr != end)
        return 0;
    if constexpr (std::is_floating_point_v<Number>) {
        if (!std::isfinite(result))
            return 0;
    }
    *value = result;
    return 1;
}

template <typename Number>
std::string numberText(Number value) {
    static_assert(kExchangedNumber<Number>, "a number type the dialogs exchange");
    char buffer[64];
    const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

template int parseNumber(const char*, int32_t*);
template int parseNumber(const char*, uint32_t*);
template int parseNumber(const char*, double*);
template std::string numberText(int32_t);
template std::string numberText(uint32_t);
template std::string numberText(double);

void TreeControl::clear() {
    items_.clear();
    if (window_ != nullptr)
        window_->clearTree(id_);
}

TreeItem TreeControl::insert(TreeItem parent, const char* text, void* data) {
    if (window_ == nullptr)
        return kNoItem;
    TreeItem item = window_->insertItem(id_, parent, text, data);
    if (item != kNoItem)
        items_.emplace_back(item, data);
    return item;
}

std::vector<void*> TreeControl::expandedData() {
    std::vector<void*> open;
    for (const auto& [item, data] : items_) {
        if (window_ != nullptr && window_->isExpanded(id_, item))
            open.push_back(data);
    }
    return open;
}

void TreeControl::expand(const std::vector<void*>& data) {
    for (const auto& [item, itemData] : items_) {
        if (window_ != nullptr && std::find(data.begin(), data.end(), itemData) != data.end())
            window_->setExpanded(id_, item, 1);
    }
}

void* TreeControl::selectedData() {
    return window_ != nullptr ? window_->selectedItemData(id_) : nullptr;
}

void DataExchange::control(int id, TreeControl& control) {
    control.window_ = &window_;
    control.id_ = id;
}

void DataExchange::fail(int id, const char* message) {
    failed_ = 1;
    window_.messageBox(message, kMessageWarning);
    window_.focus(id);
}

void DataExchange::text(int id, std::string& field, int maxChars) {
    if (failed_)
        return;
    if (!save_) {
        if (maxChars > 0)
            window_.setTextLimit(id, maxChars);
        window_.setText(id, field.c_str());
        return;
    }
    std::string typed = window_.text(id);
    if (maxChars > 0 && typed.size() > static_cast<size_t>(maxChars)) {
        char message[sizeof kAskShorterText + 16];
        std::snprintf(message, sizeof message, kAskShorterText, maxChars);
        fail(id, message);
        return;
    }
    field = typed;
}

template <typename Number>
void DataExchange::number(int id, Number& field) {
    if (failed_)
        return;
    if (!save_) {
        window_.setText(id, numberText(field).c_str());
        return;
    }
    if (!parseNumber(window_.text(id), &field))
        fail(id, std::is_floating_point_v<Number> ? kAskNumber
                 : std::is_signed_v<Number>       ? kAskWholeNumber
                                                  : kAskUnsignedNumber);
}

template void DataExchange::number(int, int32_t&);
template void DataExchange::number(int, uint32_t&);
template void DataExchange::number(int, double&);

namespace {

// Whether text, white space around it aside, is a sign and decimal digits: a whole number of any
// size.
bool isWholeNumber(const std::string& text) {
    size_t at = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (at == text.size())
        return false;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9')
            return false;
    }
    return true;
}

// The message that names the range low to high: whole numbers name their ends exactly; a decimal
// range in six digits, as "%g" writes.
template <typename Number>
std::string outsideMessage(Number low, Number high) {
    std::string lowText, highText;
    if constexpr (std::is_floating_point_v<Number>) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(low));
        lowText = buffer;
        std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(high));
        highText = buffer;
    } else {
        lowText = numberText(low);
        highText = numberText(high);
    }
    const char* format =
        std::is_floating_point_v<Number> ? kAskNumberBetween : kAskWholeNumberBetween;
    char message[sizeof kAskWholeNumberBetween + 64];
    std::snprintf(message, sizeof message, format, lowText.c_str(), highText.c_str());
    return message;
}

}  // namespace

template <typename Number>
void DataExchange::number(int id, Number& field, Number low, Number high) {
    if (failed_)
        return;
    if (!save_) {
        number(id, field);
        return;
    }
    Number read = field;
    if constexpr (std::is_integral_v<Number>) {
        // A whole number too large for the field's type (or below 0 for an unsigned one) lies
        // outside the range as well, and is told so.
        if (parseNumber(window_.text(id), &read) == 0 && isWholeNumber(trimmed(window_.text(id)))) {
            fail(id, outsideMessage(low, high).c_str());
            return;
        }
    }
    number(id, read);
    if (failed_)
        return;
    if (read < low || read > high) {
        fail(id, outsideMessage(low, high).c_str());
        return;
    }
    field = read;
}

template void DataExchange::number(int, int32_t&, int32_t, int32_t);
template void DataExchange::number(int, uint32_t&, uint32_t, uint32_t);
template void DataExchange::number(int, double&, double, double);

int Dialog::doModal(Toolkit& toolkit) {
    int result = toolkit.runDialog(layout_, *this);
    window_ = nullptr;
    return result;
}

int Dialog::updateData(int save) {
    return exchangeOver(window_, save, [this](DataExchange& dx) { exchange(dx); });
}

void Dialog::onOK() {
    if (updateData(1))
        end(kIdOk);
}

void Dialog::end(int result) {
    if (window_ != nullptr)
        window_->end(result);
}

void Dialog::initialise(Window& window) {
    window_ = &window;
    onInitDialog();
}

void Dialog::command(int id, Notification what) {
    if (id == kIdOk && what == kClicked)
        onOK();
    else if (id == kIdCancel && what == kClicked)
        onCancel();
    else
        onCommand(id, what);
}

int PropertyPage::updateData(int save) {
    return exchangeOver(window_, save, [this](DataExchange& dx) { exchange(dx); });
}

void PropertyPage::initialise(Window& window) {
    window_ = &window;
    onInitDialog();
}

void PropertyPage::command(int id, Notification what) {
    onCommand(id, what);
}

int runPropertySheet(Toolkit& toolkit, const char* caption, PropertyPage* const* pages,
                     size_t pageCount) {
    if (pageCount > kMaxPages)
        return kRunFailed;
    SheetPage sheetPages[kMaxPages] = {};
    for (size_t i = 0; i < pageCount; ++i)
        sheetPages[i] = SheetPage{&pages[i]->layout(), pages[i]};
    int result = toolkit.runSheet(caption, sheetPages, pageCount);
    for (size_t i = 0; i < pageCount; ++i)
        pages[i]->window_ = nullptr;
    return result;
}

}  // namespace toolkit
