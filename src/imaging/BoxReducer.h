#pragma once
// The resampler's box reduction, one source row at a time: each row is reduced along its
// length as it comes and added into the destination row it falls in, so the picture is
// never held whole at its source size. 18-bit area fractions, a 22-bit reciprocal scale.
#include <cstdint>
#include <vector>

#include "base/Bitmap.h"

namespace imaging {

// Where destination sample d of a line of n samples reduced to m takes its source from.
struct BoxSpan {
  int first;                  // source sample pos(d), partly or wholly inside
  std::uint32_t firstWeight;  // 0x40000 - frac(d), 0 when frac(d) is a whole sample
  int last;                   // source sample pos(d + 1), partly inside (or the line's end)
  std::uint32_t lastWeight;   // frac(d + 1)
};

// Boundaries of reducing n samples to m (0 < m <= n), computed once; m == n is the identity.
struct BoxPlan {
  BoxPlan(int n, int m);
  int n, m;
  std::vector<BoxSpan> spans;
  std::uint64_t scale;  // m / n in 22-bit fixed point
  // The spans as a row walks them without a data-dependent branch: `interior` whole samples
  // after the first (the shortest span's), then two tail samples with their weights (one
  // more whole sample and the last, or the last and a zero weight). Byte offsets.
  struct Walk {
    int first, tail1, tail2;
    std::uint32_t firstWeight, tail1Weight, tail2Weight;
  };
  int interior = 0;
  std::vector<Walk> walk;
};

// Reduces a row of plan.n pixels (three bytes each) to plan.m pixels.
void BoxReduceRow(const std::uint8_t* src, std::uint8_t* dst, const BoxPlan& plan);

class BoxReducer {
 public:
  // srcWidth x srcHeight to width x height, each side at least 1 and no larger than the
  // source's (an equal side is taken as it is). Rows come top row first, or bottom row
  // first when bottomUp: each destination row sums the same parts of the same rows either
  // way, so the result is the same.
  BoxReducer(int srcWidth, int srcHeight, int width, int height, bool bottomUp = false);

  // The next source row: srcWidth pixels.
  void AddRow(const std::uint8_t* row);
  // The result once every source row is in (rows not given count as black).
  base::Bitmap Finish();

 private:
  void EmitRow();

  int srcWidth_, srcHeight_;
  bool bottomUp_;
  BoxPlan columns_, rows_;
  base::Bitmap result_;
  int nextSource_ = 0;                          // source rows given so far
  int emitted_ = 0;                             // destination rows made
  int row_ = 0;                                 // destination row being gathered
  std::vector<std::uint8_t> reduced_;           // the current source row, reduced in width
  std::vector<std::uint32_t> whole_, partial_;  // per byte: rows inside, rounding + edges
};

}  // namespace imaging
