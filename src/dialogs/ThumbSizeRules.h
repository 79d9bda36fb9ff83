#pragma once
// The thumbnail-size scroll bar's arithmetic.
namespace dialogs {

inline constexpr int kThumbSizeMin = 20;
inline constexpr int kThumbSizeMax = 500;
inline constexpr int kThumbSizeSmallStep = 1;
inline constexpr int kThumbSizeLargeStep = 10;

enum class TScrollCode { LineDown, LineUp, PageDown, PageUp, Track, First, Last, Other };

// The position after one scroll action (track = the thumb's position for Track), kept
// within 20..500.
int NextThumbSize(int position, TScrollCode code, int track = 0);
int ClampThumbSize(int size);

}  // namespace dialogs
