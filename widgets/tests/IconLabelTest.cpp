// The icon label on the screen: background, icon in the top-left corner, and the text beside
// it in black, whatever the label's text colour; the icons it owns.
#include <gtest/gtest.h>

#include "WidgetScreen.h"
#include "platform/gdi/CDC.h"
#include "platform/kernel/Resources.h"
#include "res/NorvaneAppResources.h"
#include "widgets/QIconLabel.h"

namespace {

constexpr int kLabelId = 2101;
constexpr RECT kLabelRect{10, 20, 130, 60};
constexpr int kWidth = kLabelRect.right - kLabelRect.left;
constexpr int kHeight = kLabelRect.bottom - kLabelRect.top;
// The background of static controls (system colour 25).
constexpr COLORREF kStatic = RGB(192, 192, 192);
constexpr UINT kInformationIcon = 2300;
constexpr UINT kMissingIcon = 2399;

// A memory picture of the label's size on its background, to draw what the label should show.
class Reference {
public:
    Reference() {
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.Attach(CreateCompatibleBitmap(m_dc, kWidth, kHeight));
        m_previous = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, kWidth, kHeight, kStatic);
    }
    ~Reference() { m_dc.SelectObject(m_previous); }
    CDC& dc() { return m_dc; }
    COLORREF Pixel(int x, int y) const { return m_dc.GetPixel(x, y); }

private:
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_previous = nullptr;
};

// The label's pixels in columns [from, to) against the reference's, shifted left by shift.
void ExpectColumns(const Reference& ref, int from, int to, int shift) {
    for (int y = 0; y < kHeight; ++y) {
        for (int x = from; x < to; ++x) {
            ASSERT_EQ(WidgetScreen::Pixel(kLabelRect.left + x, kLabelRect.top + y),
                      x - shift < kWidth ? ref.Pixel(x - shift, y) : kStatic)
                << "at " << x << ", " << y;
        }
    }
}

class IconLabelTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterNorvaneAppResources(); }
    HICON LoadInformationIcon(int size) {
        return static_cast<HICON>(LoadImage(
            AfxGetResourceHandle(), MAKEINTRESOURCE(kInformationIcon), IMAGE_ICON, size, size, 0));
    }
};

TEST_F(IconLabelTest, EmptyTextPaintsOnlyBackgroundAndIcon) {
    WidgetScreen screen;
    QIconLabel label;
    ASSERT_TRUE(label.SubclassWindow(screen.AddStatic(kLabelId, kLabelRect, L"", SS_ICON)));
    label.SetIconFromResource(kInformationIcon, 32, 32, TRUE);
    screen.Pump();

    Reference ref;
    HICON icon = LoadInformationIcon(32);
    ASSERT_NE(icon, nullptr);
    DrawIconEx(ref.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    ExpectColumns(ref, 0, kWidth, 0);
}

struct TextCase {
    const char* name;
    void (*setIcon)(QIconLabel&);
    int textLeft;
};

TEST_F(IconLabelTest, TextStartsTwoPixelsRightOfTheIconWidthInBlack) {
    const TextCase cases[] = {
        {"never an icon", [](QIconLabel&) {}, 2},
        {"an icon asked for at 16 x 16",
         [](QIconLabel& l) { l.SetIconFromResource(kInformationIcon, 16, 16, FALSE); }, 18},
        {"an icon that failed to load keeps the width asked for before",
         [](QIconLabel& l) {
             l.SetIconFromResource(kInformationIcon, 24, 24, FALSE);
             l.SetIconFromResource(kMissingIcon, 32, 32, FALSE);
         },
         26},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        WidgetScreen screen;
        QIconLabel label;
        ASSERT_TRUE(label.SubclassWindow(screen.AddStatic(kLabelId, kLabelRect, L"Norvane")));
        // The text colour slot does not reach the text.
        label.SetColor(1, RGB(255, 0, 0), FALSE);
        c.setIcon(label);
        label.Invalidate();
        screen.Pump();

        // The text at the top (DT_VCENTER alone does not centre), in the default black.
        Reference ref;
        ref.dc().SetBkMode(TRANSPARENT);
        ref.dc().TextOut(0, 0, CString(L"Norvane"));
        ExpectColumns(ref, c.textLeft, kWidth, c.textLeft);
        if (c.textLeft == 18) {
            EXPECT_NE(WidgetScreen::Pixel(kLabelRect.left + 8, kLabelRect.top + 8), kStatic)
                << "the icon is drawn";
        } else {
            ExpectColumns(Reference(), 0, c.textLeft, 0);
        }
    }
}

TEST_F(IconLabelTest, OwnsItsIcon) {
    auto label = std::make_unique<QIconLabel>();
    HICON first = LoadInformationIcon(32);
    HICON second = LoadInformationIcon(16);
    label->SetIconHandle(first, 32, 32, FALSE);
    label->SetIconHandle(second, 16, 16, FALSE);
    SIZE size;
    EXPECT_FALSE(GdiGetIconSize(first, &size)) << "the replaced icon is destroyed";
    EXPECT_TRUE(GdiGetIconSize(second, &size));
    label.reset();
    EXPECT_FALSE(GdiGetIconSize(second, &size)) << "the icon goes with the label";
}

} // namespace
