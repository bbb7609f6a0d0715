// Comparing names read from files: keywords, limb names and channel names match without regard to
// the case of ASCII letters, whatever locale the host has set.
#pragma once

namespace names {

// Returns the ASCII lower-case form of c; every other byte is returned unchanged.
inline char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
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
