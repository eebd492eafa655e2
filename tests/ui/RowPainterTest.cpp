#include "ui/RowPainter.h"

#include "FakePlatform.h"
#include "list/Info.h"
#include "platform/Canvas.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// Records each call as one line of text.
class TRecordingCanvas : public TCanvas
{
public:
    void Rectangle(const TRect& r, TColor outline, TColor fill) override
    {
        Calls.push_back("rect " + Box(r) + " outline " + Hex(outline) + " fill " + Hex(fill));
    }
    void TextOut(const TRect& clip, const std::string& text, TColor color) override
    {
        Calls.push_back("text " + Box(clip) + " '" + text + "' " + Hex(color));
    }
    void Draw(int x, int y, const TPicture& picture) override
    {
        Calls.push_back("draw " + static_cast<const TFakePicture&>(picture).Name + " " + std::to_string(x) + ","
                        + std::to_string(y));
    }

    std::vector<std::string> Calls;

private:
    static std::string Box(const TRect& r)
    {
        return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + ","
            + std::to_string(r.Bottom);
    }
    static std::string Hex(TColor color)
    {
        char text[8];
        std::snprintf(text, sizeof text, "%06X", color);
        return text;
    }
};

struct TRowCase
{
    const char* Name;
    bool Selected;
    std::optional<TInfo> Status;
    std::vector<std::string> Expected;
};

// GoogleTest names the case in its output instead of dumping its bytes.
void PrintTo(const TRowCase& row, std::ostream* out)
{
    *out << row.Name;
}

class RowPainterTest : public ::testing::TestWithParam<TRowCase>
{
};

// The second row of the list, at the declared width without a scroll bar.
TEST_P(RowPainterTest, DrawsTheRowByItsSelectionAndStatus)
{
    const TFakePicture icon("computer.png", 32);
    const TFakePicture badge("online.png", 16);
    TRecordingCanvas canvas;
    const TRowPainter painter(icon, badge);
    const auto& status = GetParam().Status;

    painter.Draw(canvas, { 0, 50, 283, 100 }, GetParam().Selected, "John-PC:8080", status ? &*status : nullptr);

    EXPECT_EQ(canvas.Calls, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RowPainterTest,
    ::testing::Values(TRowCase { "SelectedOnline",
                                 true,
                                 TInfo(true),
                                 { "rect 0,50,283,100 outline 84ACDD fill D0E5FF", "draw computer.png 9,59",
                                   "text 55,66,278,100 'John-PC:8080' 333333", "draw online.png 9,59" } },
                      TRowCase { "UnselectedOnline",
                                 false,
                                 TInfo(true),
                                 { "rect 0,50,283,100 outline FFFFFF fill FFFFFF", "draw computer.png 9,59",
                                   "text 55,66,278,100 'John-PC:8080' 333333", "draw online.png 9,59" } },
                      TRowCase { "Offline",
                                 false,
                                 TInfo(false),
                                 { "rect 0,50,283,100 outline FFFFFF fill FFFFFF", "draw computer.png 9,59",
                                   "text 55,66,278,100 'John-PC:8080' 333333" } },
                      TRowCase { "SelectedWithoutStatus",
                                 true,
                                 std::nullopt,
                                 { "rect 0,50,283,100 outline 84ACDD fill D0E5FF", "draw computer.png 9,59",
                                   "text 55,66,278,100 'John-PC:8080' 333333" } }),
    [](const auto& row) { return std::string(row.param.Name); });
} // namespace
