// The list on a display of twice the usual density (QT_SCALE_FACTOR=2, set by CTest): its
// coordinates stay 96-dpi pixels, and every one of them covers two by two device pixels.
#include "list/Info.h"
#include "QtListBoxFixture.h"

namespace {

TEST_F(QtListBoxTest, RowsAreLaidOutAndDrawnInNinetySixDpiPixelsOnADenserDisplay)
{
    ASSERT_EQ(List->View().devicePixelRatio(), 2) << "run with QT_SCALE_FACTOR=2";
    Computers->Append("online", TInfo(true));
    Computers->Append("offline", TInfo(false));
    Computers->SetSelection(0);
    const QImage image = Render();
    ASSERT_EQ(image.width(), 2 * 283);

    EXPECT_EQ(List->ItemRect(1).Top, 50);
    EXPECT_EQ(List->ClientRect().Right, 283);
    // Each 96-dpi pixel: the outline's, the fill's, the badge's, the icon's, the next row's.
    const std::pair<QPoint, QRgb> pixels[] = {
        { { 0, 0 }, 0xFF84ACDD },    { { 282, 49 }, 0xFF84ACDD }, { { 1, 1 }, 0xFFD0E5FF },
        { { 281, 48 }, 0xFFD0E5FF }, { { 9, 9 }, BadgeColour },   { { 30, 30 }, IconColour },
        { { 9, 59 }, IconColour },   { { 0, 50 }, 0xFFFFFFFF },   { { 281, 98 }, 0xFFFFFFFF },
    };
    for (const auto& [at, colour] : pixels) {
        for (const QPoint part : { QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1) })
            EXPECT_EQ(image.pixel(at * 2 + part), colour)
                << at.x() << "," << at.y() << " part " << part.x() << part.y();
    }

    Press(Qt::LeftButton, { 10, 75 });
    Release(Qt::LeftButton, { 10, 75 });
    EXPECT_EQ(List->ItemIndex(), 1);
}

} // namespace
