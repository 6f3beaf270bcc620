#include "render/trace_device.h"

#include <gtest/gtest.h>

#include "render/null_device.h"

namespace quillon {
namespace {

TEST(TraceDeviceTest, ObjectsAndSelections) {
  TraceDevice dev;
  const std::uint32_t dashes[] = {4, 2};
  ObjectId pen = dev.ExtCreatePen(0x11000, 3, BrushDesc{gdi::kBrushSolid, 0x0000FF, 0}, dashes);
  ObjectId brush = dev.CreateHatchBrush(gdi::kHatchCross, 0x00FF00);
  ObjectId nullPen = dev.GetStockObject(gdi::kStockNullPen);
  EXPECT_EQ(dev.SelectObject(pen), dev.GetStockObject(gdi::kStockBlackPen));
  EXPECT_EQ(dev.SelectObject(brush), dev.GetStockObject(gdi::kStockWhiteBrush));
  EXPECT_EQ(dev.SelectObject(nullPen), pen);
  EXPECT_EQ(dev.liveObjects(), 2u);
  EXPECT_TRUE(dev.DeleteObject(pen));
  EXPECT_FALSE(dev.DeleteObject(pen));
  EXPECT_FALSE(dev.DeleteObject(nullPen));
  EXPECT_EQ(dev.liveObjects(), 1u);
  EXPECT_EQ(dev.lines()[0],
            "ExtCreatePen style=0x11000 width=3 colour=0x0000FF dashes=[4,2] -> pen#1");
  EXPECT_EQ(dev.lines()[1], "CreateHatchBrush hatch=4 colour=0x00FF00 -> brush#2");
  EXPECT_EQ(dev.lines()[2], "GetStockObject 8 -> stock#8");
  EXPECT_EQ(dev.Count("SelectObject stock#8 -> pen#1"), 1u);
  EXPECT_EQ(dev.Count("DeleteObject pen#1 (failed)"), 1u);
}

TEST(TraceDeviceTest, FailedCreationGivesNoObject) {
  TraceDevice dev;
  dev.SetFailCreations(true);
  EXPECT_EQ(dev.CreateSolidBrush(0), kNoObject);
  EXPECT_EQ(dev.lines().back(), "CreateSolidBrush colour=0x000000 -> none");
  EXPECT_EQ(dev.liveObjects(), 0u);
}

TEST(TraceDeviceTest, ConfiguredAnswers) {
  TraceDevice dev;
  dev.SetDeviceCaps(gdi::kCapHorzRes, 2329);
  dev.SetDeviceCaps(gdi::kCapLogPixelsX, 600);
  EXPECT_EQ(dev.GetDeviceCaps(gdi::kCapHorzRes), 2329);
  EXPECT_EQ(dev.GetDeviceCaps(gdi::kCapLogPixelsX), 600);
  EXPECT_EQ(dev.QueryEscapeSupport(gdi::kEscPostscriptPassthrough), 0);
  dev.SetPostScript(true);
  EXPECT_NE(dev.QueryEscapeSupport(gdi::kEscPostscriptPassthrough), 0);
  EXPECT_EQ(dev.QueryEscapeSupport(gdi::kEscGetPhysPageSize), 0);
  EXPECT_EQ(dev.lines().back(), "QueryEscapeSupport 12 -> 0");
}

TEST(TraceDeviceTest, PrimitivesListTheirPoints) {
  TraceDevice dev;
  const DevicePoint pts[] = {{1, 2}, {3, 4}, {5, 6}};
  const std::int32_t counts[] = {2, 1};
  dev.Polyline(pts);
  dev.PolyPolygon(pts, counts);
  dev.Note("hello");
  EXPECT_EQ(dev.str(),
            "Polyline 3 (1,2) (3,4) (5,6)\nPolyPolygon counts=[2,1] (1,2) (3,4) (5,6)\n"
            "Note hello\n");
}

TEST(TraceDeviceTest, SaveAndRestoreNest) {
  TraceDevice dev;
  EXPECT_EQ(dev.SaveDC(), 1);
  EXPECT_EQ(dev.SaveDC(), 2);
  EXPECT_TRUE(dev.RestoreDC(-1));
  EXPECT_TRUE(dev.RestoreDC(1));
  EXPECT_FALSE(dev.RestoreDC(-1));
}

TEST(NullDeviceTest, CountsCallsAndPoints) {
  NullDevice dev;
  const DevicePoint pts[] = {{1, 2}, {3, 4}};
  dev.Polyline(pts);
  dev.MoveTo(0, 0);
  dev.CreateSolidBrush(0);
  EXPECT_EQ(dev.calls(), 3u);
  EXPECT_EQ(dev.primitives(), 1u);
  EXPECT_EQ(dev.points(), 2u);
  EXPECT_EQ(dev.objectsCreated(), 1u);
}

}  // namespace
}  // namespace quillon
