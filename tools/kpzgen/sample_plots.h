#pragma once
// Sample plots for people and benchmarks, written with KpzBuilder.

#include <cstdint>
#include <vector>

namespace quillon {

// A site plan on an A1 sheet at 400 dots per inch: frame and title block, plot boundaries,
// roads with centre lines, buildings, trees, contours, every built-in dash style and a user
// style, in several colours and widths.
std::vector<std::uint8_t> MakeSitePlan();

// A building plan on an A3 sheet at 200 dots per inch on a coloured sheet background: hatched
// walls with a courtyard and a pool cut out as holes, rooms filled with patterns at several
// angles, rectangles for partitions and columns.
std::vector<std::uint8_t> MakeBuildingPlan();

// An A0 sheet covered with `polylines` random-walk polylines of five points each (four
// vectors apiece), for throughput measurements.
std::vector<std::uint8_t> MakeLargePlan(std::uint32_t polylines);

// Rasters of every format on an A2 sheet at 200 dots per inch, coded by libtiff and libjpeg:
// a full-sheet Group 4 scan, vectors under a transparent run-pair overlay, 8-bit PackBits rows,
// planar RGB rows, a JPEG photograph and a several-resolution raster of each multi-level format.
std::vector<std::uint8_t> MakeRasterPlan();
// The same full-sheet scan as rows of run pairs.
std::vector<std::uint8_t> MakeRasterScanRuns();
// An A0 sheet at 400 dots per inch covered by one full-sheet Group 4 scan.
std::vector<std::uint8_t> MakeRasterSheetA0();

}  // namespace quillon
