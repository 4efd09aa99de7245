// Colour labels on the screen: when colour changes show, the reflected colour query and the
// brush it hands out, and the fonts and brushes a label owns.
#include <array>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <set>

#include <gtest/gtest.h>

#include "WidgetScreen.h"
#include "widgets/QColorLabel.h"

namespace {

constexpr int kLabelId = 1004;
constexpr RECT kLabelRect{10, 20, 110, 40};
constexpr COLORREF kButtonFace = RGB(192, 192, 192);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Every colour that the label's area shows.
std::set<COLORREF> ColoursOf(const RECT& r) {
    std::set<COLORREF> colours;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            colours.insert(WidgetScreen::Pixel(x, y));
        }
    }
    return colours;
}

struct RepaintCase {
    const char* name;
    std::function<void(QColorLabel&)> change;
    std::set<COLORREF> atOnce;     // after the messages waiting have been handled
    std::set<COLORREF> afterPaint; // after the next paint, whatever asked for it
};

TEST(ColorLabel, ChangesShowAtOnceOnlyWithRepaint) {
    const RepaintCase cases[] = {
        {"SetColor without repaint",
         [](QColorLabel& l) { l.SetColor(0, kNavy, FALSE); },
         {kButtonFace},
         {kNavy}},
        {"SetColor with repaint",
         [](QColorLabel& l) { l.SetColor(0, kNavy, TRUE); },
         {kNavy},
         {kNavy}},
        {"ResetColors without repaint",
         [](QColorLabel& l) {
             l.SetColor(0, kNavy, FALSE);
             l.ResetColors(FALSE);
         },
         {kButtonFace},
         {kButtonFace}},
        {"ResetColors with repaint",
         [](QColorLabel& l) {
             l.SetColor(0, kNavy, FALSE);
             l.Invalidate();
             l.UpdateWindow();
             l.ResetColors(TRUE);
         },
         {kButtonFace},
         {kButtonFace}},
        {"a slot index past 5 changes nothing",
         [](QColorLabel& l) { l.SetColor(6, kNavy, TRUE); },
         {kButtonFace},
         {kButtonFace}},
    };
    for (const RepaintCase& c : cases) {
        SCOPED_TRACE(c.name);
        WidgetScreen screen;
        QColorLabel label;
        ASSERT_TRUE(label.SubclassWindow(screen.AddStatic(kLabelId, kLabelRect)));
        screen.Pump();
        ASSERT_EQ(ColoursOf(kLabelRect), std::set<COLORREF>{kButtonFace});

        c.change(label);
        screen.Pump();
        EXPECT_EQ(ColoursOf(kLabelRect), c.atOnce);
        label.Invalidate();
        screen.Pump();
        EXPECT_EQ(ColoursOf(kLabelRect), c.afterPaint);
    }
}

TEST(ColorLabel, TextInSlotOneOnSlotZero) {
    // The launcher's clock colours: red text on black.
    WidgetScreen screen;
    QColorLabel label;
    ASSERT_TRUE(label.SubclassWindow(screen.AddStatic(kLabelId, kLabelRect, L"12:34:56")));
    label.SetColor(1, kRed, TRUE);
    label.SetColor(0, kBlack, TRUE);
    screen.Pump();
    EXPECT_EQ(ColoursOf(kLabelRect), (std::set<COLORREF>{kBlack, kRed}));
}

LOGBRUSH BrushOf(HBRUSH brush) {
    LOGBRUSH lb;
    EXPECT_EQ(GetObject(brush, sizeof lb, &lb), int(sizeof lb));
    return lb;
}

TEST(ColorLabel, ColourQueryHandsOutAFreshBrushOfSlotZero) {
    WidgetScreen screen;
    auto label = std::make_unique<QColorLabel>();
    HWND hwnd = screen.AddStatic(kLabelId, kLabelRect, L"Caption");
    ASSERT_TRUE(label->SubclassWindow(hwnd));
    HDC dc = GetDC(hwnd);
    // The query as the static control sends it to its parent, which reflects it to the label.
    auto query = [&] {
        return reinterpret_cast<HBRUSH>(SendMessage(screen.Parent(), WM_CTLCOLORSTATIC,
                                                    reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(hwnd)));
    };

    HBRUSH first = query();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(BrushOf(first).lbColor, kButtonFace);

    label->SetColor(1, RGB(255, 255, 255), FALSE);
    label->SetColor(0, kNavy, FALSE);
    HBRUSH second = query();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetObjectType(first), 0u) << "the previous brush is deleted";
    EXPECT_EQ(BrushOf(second).lbStyle, BS_SOLID);
    EXPECT_EQ(BrushOf(second).lbColor, kNavy);
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkColor(dc), kNavy);

    ReleaseDC(hwnd, dc);
    label.reset();
    EXPECT_EQ(GetObjectType(second), 0u) << "the label's brush goes with the label";
}

// Reaches the colour slots, which the controls derived from a label read.
class SlottedLabel : public QColorLabel {
public:
    COLORREF Slot(int index) const { return m_colors[index]; }
    // The object's bytes just past the last slot (padding or the next member): a write one
    // slot too far lands there even when nothing reads it.
    std::array<unsigned char, sizeof(COLORREF)> BytesPastTheSlots() const {
        const auto* object = reinterpret_cast<const unsigned char*>(this);
        const auto past = reinterpret_cast<const unsigned char*>(m_colors) - object +
                          std::ptrdiff_t(sizeof m_colors);
        std::array<unsigned char, sizeof(COLORREF)> bytes{};
        std::memcpy(bytes.data(), object + past, bytes.size());
        return bytes;
    }
};

TEST(ColorLabel, DefaultSlotsForDerivedControls) {
    // Slots 0 and 1 follow the system colours of button face and text.
    const COLORREF defaults[QColorLabel::kColorCount] = {
        kButtonFace, kBlack, kRed, RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
    SlottedLabel label;
    for (BYTE i = 0; i < QColorLabel::kColorCount; ++i) {
        label.SetColor(i, kNavy, FALSE);
    }
    label.SetColor(QColorLabel::kColorCount, kRed, FALSE); // past the last slot: ignored
    label.ResetColors(FALSE);
    for (int i = 0; i < QColorLabel::kColorCount; ++i) {
        EXPECT_EQ(label.Slot(i), defaults[i]) << "slot " << i;
    }
}

TEST(ColorLabel, SlotPastTheLastLeavesTheLabelAlone) {
    WidgetScreen screen;
    SlottedLabel label;
    HWND hwnd = screen.AddStatic(kLabelId, kLabelRect, L"Caption");
    ASSERT_TRUE(label.SubclassWindow(hwnd));
    HDC dc = GetDC(hwnd);
    auto query = [&] {
        return reinterpret_cast<HBRUSH>(SendMessage(screen.Parent(), WM_CTLCOLORSTATIC,
                                                    reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(hwnd)));
    };
    HBRUSH first = query();
    ASSERT_NE(first, nullptr);
    const auto past = label.BytesPastTheSlots();
    label.SetColor(QColorLabel::kColorCount, kNavy, FALSE);
    EXPECT_EQ(label.BytesPastTheSlots(), past) << "written past the last slot";
    HBRUSH second = query();
    EXPECT_EQ(GetObjectType(first), 0u) << "the label still owns and deletes its brush";
    EXPECT_EQ(BrushOf(second).lbColor, kButtonFace);
    for (int i = 0; i < QColorLabel::kColorCount; ++i) {
        EXPECT_NE(label.Slot(i), kNavy) << "slot " << i;
    }
    ReleaseDC(hwnd, dc);
}

// Reaches the font that a label owns, which nothing outside the label needs.
class FontedLabel : public QColorLabel {
public:
    HGDIOBJ Font() const { return m_font.GetSafeHandle(); }
};

TEST(ColorLabel, OwnsItsFont) {
    auto label = std::make_unique<FontedLabel>();
    EXPECT_EQ(label->Font(), nullptr);
    LOGFONT lf;
    lf.lfHeight = 13;
    ASSERT_TRUE(label->CreateLabelFont(lf, FALSE));
    HGDIOBJ first = label->Font();
    EXPECT_EQ(GetObjectType(first), OBJ_FONT);
    lf.lfWeight = FW_BOLD;
    ASSERT_TRUE(label->CreateLabelFont(lf, FALSE));
    HGDIOBJ second = label->Font();
    EXPECT_EQ(GetObjectType(first), 0u) << "the previous font is deleted";
    label.reset();
    EXPECT_EQ(GetObjectType(second), 0u) << "the font goes with the label";
}

} // namespace
