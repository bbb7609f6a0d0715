// Comparing names read from files: keywords, limb names and channel names match without regard to
// the case of ASCII letters, whatever locale the host has set.
#pragma once

namespace names {

// Every byte value's ASCII lower-case form, looked up rather than worked out, since keyword and
// name lookups compare every token of a file against several rows.
struct LowerCaseTable {
    char of[256];
};
constexpr LowerCaseTable makeLowerCaseTable() {
    LowerCaseTable table{};
    for (int c = 0; c < 256; ++c) {
        const int lower = (c >= 'A' && c <= 'Z') ? c + 32 : c;
        table.of[c] = static_cast<char>(lower > 127 ? lower - 256 : lower);
    }
    return table;
}
inline constexpr LowerCaseTable kLowerCase = makeLowerCaseTable();

// Returns the ASCII lower-case form of c; every other byte is returned unchanged.
inline char lowerAscii(char c) {
    return kLowerCase.of[static_cast<unsigned char>(c)];
}

// True when a and b hold the same text apart from the case of ASCII letters; a null text equals
// nothing, not even another null text.
inline bool sameIgnoringCase(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    while (*a != '\0' && lowerAscii(*a) == lowerAscii(*b)) {
        ++a;
        ++b;
    }
    return lowerAscii(*a) == lowerAscii(*b);
}

// The same as sameIgnoringCase, but first tells most unequal names apart by their first letter
// alone, for lookups that walk a table of names for every token or limb of a file.
inline bool sameNameQuick(const char* a, const char* b) {
    if (a == nullptr || b == nullptr || lowerAscii(a[0]) != lowerAscii(b[0])) {
        return false;
    }
    return sameIgnoringCase(a, b);
}

// Copies at most size - 1 bytes of text into field and terminates it; a null text gives "".
inline void copyCut(char* field, int size, const char* text) {
    int n = 0;
    if (text != nullptr) {
        while (n < size - 1 && text[n] != '\0') {
            field[n] = text[n];
            ++n;
        }
    }
    field[n] = '\0';
}

}  // namespace names
