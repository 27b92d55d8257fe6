#pragma once
// The splitter between the project tree and the child area (lengths in twips).

namespace varnak {

inline constexpr int kSplitterLimit = 500;  // nearest the bar comes to either window edge
inline constexpr int kSplitterWidth = 100;

// Where the moving bar is drawn for a pointer at pos in a window that wide.
inline int splitterBarLeft(int pos, int windowWidth) {
    if (pos < kSplitterLimit) return kSplitterLimit;
    if (pos > windowWidth - kSplitterLimit) return windowWidth - kSplitterLimit;
    return pos;
}

}  // namespace varnak
