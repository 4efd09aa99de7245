// The owner-drawn menu: item sizes, each kind of item drawn to the pixel on a memory picture,
// the records it frees, and the menu tracked on the screen from a framework window.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "WidgetScreen.h"
#include "platform/gdi/CDC.h"
#include "platform/kernel/EventLog.h"
#include "widgets/QOwnerDrawMenu.h"

namespace {

constexpr COLORREF kFace = 0x00F5F5F5;
constexpr COLORREF kColumn = RGB(192, 192, 192); // COLOR_BTNFACE
constexpr COLORREF kFrame = 0x00C40000;
constexpr COLORREF kSelection = 0x00FFC4C4;
constexpr COLORREF kTeal = 0x00808000;
constexpr COLORREF kGrey = RGB(128, 128, 128); // COLOR_GRAYTEXT and COLOR_BTNSHADOW
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = 0;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBackdrop = RGB(1, 2, 3); // where nothing was drawn

const std::map<COLORREF, char> kLegend = {
    {kFace, '.'}, {kColumn, ':'}, {kFrame, 'B'}, {kSelection, 'b'}, {kTeal, 't'},
    {kGrey, 'g'}, {kWhite, 'w'},  {kBlack, '#'}, {kRed, 'R'},       {kBackdrop, ' '},
};

LONG TextWidth(LPCTSTR text) {
    HDC dc = GetDC(nullptr);
    SIZE size{};
    GetTextExtentPoint32(dc, text, int(std::wcslen(text)), &size);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

enum : UINT { kPlain = 101, kChecked = 102, kImage = 103, kCheckedImage = 104, kSub = 105 };

// A memory picture to draw one item on.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height) {
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.Attach(CreateCompatibleBitmap(m_dc, width, height));
        m_previous = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, width, height, kBackdrop);
    }
    ~Canvas() { m_dc.SelectObject(m_previous); }
    CDC& dc() { return m_dc; }
    COLORREF Pixel(int x, int y) { return m_dc.GetPixel(x, y); }
    // One character per pixel of columns [from, to), through the legend ('?' for others).
    std::vector<std::string> Picture(int from, int to) {
        std::vector<std::string> rows;
        for (int y = 0; y < m_height; ++y) {
            std::string row;
            for (int x = from; x < to; ++x) {
                const auto it = kLegend.find(Pixel(x, y));
                row += it == kLegend.end() ? '?' : it->second;
            }
            rows.push_back(row);
        }
        return rows;
    }
    int Width() const { return m_width; }

private:
    int m_width;
    int m_height;
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_previous = nullptr;
};

class OwnerDrawMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_menu.CreatePopupMenu());
        // A red 16 x 16 image whose top-left pixel is the transparent magenta.
        std::vector<std::uint32_t> bits(16 * 16, 0x00FF0000);
        bits[0] = 0x00FF00FF;
        CBitmap image;
        image.Attach(CreateBitmap(16, 16, 1, 32, bits.data()));
        ASSERT_EQ(m_menu.AddImage(&image, RGB(255, 0, 255)), 0);
        m_menu.AddTitle(L"Title");
        m_menu.AddItem(kPlain, L"W");
        m_menu.AddItem(kChecked, L"", MF_CHECKED);
        m_menu.AddItem(kImage, L"", 0, 0);
        m_menu.AddItem(kCheckedImage, L"", MF_CHECKED, 0);
        m_menu.AddSeparator(L"Separator text");
        m_sub = new QOwnerDrawMenu;
        m_sub->CreatePopupMenu();
        m_menu.AddSubmenu(kSub, L"", m_sub);
        m_menu.CheckMenuItem(kSub, MF_CHECKED);
    }
    void TearDown() override { m_menu.ReleaseItemData(&m_menu); }

    // The record of the item with this id.
    const QMenuItemData* Record(UINT id) {
        MENUITEMINFO info;
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_DATA;
        EXPECT_TRUE(m_menu.GetMenuItemInfo(id, &info));
        return reinterpret_cast<const QMenuItemData*>(info.dwItemData);
    }
    void Draw(Canvas& canvas, UINT id, UINT state, const QMenuItemData* record) {
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_MENU;
        dis.itemID = id;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hwndItem = reinterpret_cast<HWND>(m_menu.m_hMenu);
        dis.hDC = canvas.dc();
        dis.rcItem = RECT{0, 0, canvas.Width(), 18};
        dis.itemData = reinterpret_cast<DWORD_PTR>(record);
        m_menu.DrawItem(&dis);
    }
    void Draw(Canvas& canvas, UINT id, UINT state = 0) { Draw(canvas, id, state, Record(id)); }
    MEASUREITEMSTRUCT Measure(UINT id, const QMenuItemData* record) {
        MEASUREITEMSTRUCT mis;
        mis.CtlType = ODT_MENU;
        mis.itemID = id;
        mis.itemData = reinterpret_cast<DWORD_PTR>(record);
        m_menu.MeasureItem(&mis);
        return mis;
    }
    QOwnerDrawMenu m_menu;
    QOwnerDrawMenu* m_sub = nullptr;
};

// The column of the worked example, x 0 to 23 of the item (0, 0, 100, 18), unselected: the
// column (1, 0, 20, 18) and the tick from (6, 9) to (9, 12) to (16, 5) with a pen 2 pixels wide
// (a 2 x 2 square up and left of each point, the end point left out).
const std::vector<std::string> kTickedColumn = {
    ".:::::::::::::::::::....", // 0
    ".:::::::::::::::::::....", // 1
    ".:::::::::::::::::::....", // 2
    ".:::::::::::::::::::....", // 3
    ".:::::::::::::::::::....", // 4
    ".:::::::::::::##::::....", // 5: the square around (15, 6), the last point before (16, 5)
    ".::::::::::::###::::....", // 6
    ".:::::::::::###:::::....", // 7
    ".::::##::::###::::::....", // 8: the square around (6, 9)
    ".::::###::###:::::::....", // 9
    ".:::::######::::::::....", // 10
    ".::::::####:::::::::....", // 11
    ".:::::::##::::::::::....", // 12: the square around (9, 12)
    ".:::::::::::::::::::....", // 13
    ".:::::::::::::::::::....", // 14
    ".:::::::::::::::::::....", // 15
    ".:::::::::::::::::::....", // 16
    ".:::::::::::::::::::....", // 17
};

TEST_F(OwnerDrawMenuTest, WorkedExampleColumnAndTick) {
    Canvas canvas(100, 18);
    Draw(canvas, kChecked);
    EXPECT_EQ(canvas.Picture(0, 24), kTickedColumn);
    for (const std::string& row : canvas.Picture(24, 100))
        EXPECT_EQ(row, std::string(76, '.'));
}

TEST_F(OwnerDrawMenuTest, ImageAtThreeTwoBeatsTheTick) {
    for (UINT id : {kImage, kCheckedImage}) {
        Canvas canvas(100, 18);
        Draw(canvas, id);
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 24; ++x) {
                const bool image = x >= 3 && x < 19 && y >= 2 && y < 18 && !(x == 3 && y == 2);
                const COLORREF expected = image ? kRed : (x >= 1 && x < 20) ? kColumn : kFace;
                ASSERT_EQ(canvas.Pixel(x, y), expected) << id << " at " << x << ", " << y;
            }
    }
}

// The rectangles of a selected item: the frame (1, 1, 99, 17), the fill (2, 2, 98, 16)
// over the column (1, 0, 20, 18), the face around.
COLORREF SelectedPixel(int x, int y, COLORREF fill) {
    const bool inFrame = x >= 1 && x < 99 && y >= 1 && y < 17;
    const bool inFill = x >= 2 && x < 98 && y >= 2 && y < 16;
    if (inFill)
        return fill;
    if (inFrame)
        return kFrame;
    return (x >= 1 && x < 20) ? kColumn : kFace;
}

TEST_F(OwnerDrawMenuTest, SelectedItemIsFramedAndFilled) {
    for (const auto& [state, fill] :
         {std::pair{UINT(ODS_SELECTED), kSelection}, std::pair{ODS_SELECTED | ODS_GRAYED, kFace}}) {
        Canvas canvas(100, 18);
        Draw(canvas, kImage, state); // no text; the image in the shrunk column, same centre
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool image = x >= 3 && x < 19 && y >= 2 && y < 18 && !(x == 3 && y == 2);
                ASSERT_EQ(canvas.Pixel(x, y), image ? kRed : SelectedPixel(x, y, fill))
                    << state << " at " << x << ", " << y;
            }
    }
}

TEST_F(OwnerDrawMenuTest, TextStartsAtTwentyTwoInBlackOrGreyWhenGrayed) {
    // What DrawText puts at (22, 0, 100, 18) with DT_VCENTER alone.
    Canvas expected(100, 18);
    expected.dc().FillSolidRect(0, 0, 100, 18, kFace);
    expected.dc().FillSolidRect(1, 0, 19, 18, kColumn);
    expected.dc().SetBkMode(TRANSPARENT);
    RECT text{22, 0, 100, 18};
    expected.dc().DrawText(L"W", 1, &text, DT_VCENTER);
    const auto reference = expected.Picture(0, 100);

    Canvas plain(100, 18);
    Draw(plain, kPlain);
    EXPECT_EQ(plain.Picture(0, 100), reference);
    ASSERT_NE(reference[4].find('#'), std::string::npos); // the text shows at all

    Canvas grayed(100, 18);
    Draw(grayed, kPlain, ODS_SELECTED | ODS_GRAYED);
    for (int y = 2; y < 16; ++y)
        for (int x = 22; x < 98; ++x) {
            const COLORREF c = grayed.Pixel(x, y);
            ASSERT_EQ(c, reference[std::size_t(y)][std::size_t(x)] == '#' ? kGrey : kFace)
                << x << ", " << y;
        }
}

TEST_F(OwnerDrawMenuTest, ItemWithoutRecordOrInformationIsAPlainTextItem) {
    Canvas reference(100, 18);
    Draw(reference, kPlain);
    // Not in the menu: the query fails, so it is no separator and has no tick.
    Canvas unknown(100, 18);
    Draw(unknown, 999, 0, Record(kPlain));
    EXPECT_EQ(unknown.Picture(0, 100), reference.Picture(0, 100));
    const MEASUREITEMSTRUCT lost = Measure(999, Record(kPlain));
    EXPECT_EQ(lost.itemHeight, 18u);
    EXPECT_EQ(lost.itemWidth, UINT(TextWidth(L"W") + 21));

    // No record: an empty plain item (the tick of the checked item still shows).
    Canvas bare(100, 18);
    Draw(bare, kChecked, 0, nullptr);
    EXPECT_EQ(bare.Picture(0, 24), kTickedColumn);
    const MEASUREITEMSTRUCT none = Measure(kPlain, nullptr);
    EXPECT_EQ(none.itemHeight, 18u);
    EXPECT_EQ(none.itemWidth, 21u);
}

TEST_F(OwnerDrawMenuTest, SizesOfTitlePlainSeparatorAndSubmenuItems) {
    struct SizeCase {
        UINT id;
        LPCTSTR text;
        UINT width, height;
    };
    const SizeCase cases[] = {
        {MENU_TITLE_ID, L"Title", UINT(TextWidth(L"Title")), 16},
        {kPlain, L"Plain text", UINT(TextWidth(L"Plain text") + 21), 18},
        {0, L"Separator text", UINT(TextWidth(L"Separator text") + 21), 5},
        {kSub, L"Plain text", UINT(TextWidth(L"Plain text") + 36), 18},
    };
    for (const SizeCase& c : cases) {
        const QMenuItemData record{-1, CString(c.text)};
        const MEASUREITEMSTRUCT mis = Measure(c.id, &record);
        EXPECT_EQ(mis.itemWidth, c.width) << c.id;
        EXPECT_EQ(mis.itemHeight, c.height) << c.id;
    }
}

TEST_F(OwnerDrawMenuTest, TitleIsWhiteOnTealWithARaisedEdgeSelectedOrNot) {
    const QMenuItemData dash{-1, CString(L"-")};
    Canvas canvas(60, 18);
    Draw(canvas, MENU_TITLE_ID, 0, &dash);
    const auto picture = canvas.Picture(0, 60);
    Canvas selected(60, 18);
    Draw(selected, MENU_TITLE_ID, ODS_SELECTED, &dash);
    EXPECT_EQ(selected.Picture(0, 60), picture);
    // The raised edge: light then highlight at the top and left, dark shadow then shadow at the
    // bottom and right (3D light is the button face here).
    EXPECT_EQ(picture[0], std::string(59, ':') + '#');
    EXPECT_EQ(picture[1], ":" + std::string(57, 'w') + "g#");
    EXPECT_EQ(picture[8].substr(0, 2) + picture[8].substr(58), ":wg#");
    EXPECT_EQ(picture[16], ":" + std::string(58, 'g') + "#");
    EXPECT_EQ(picture[17], std::string(60, '#'));
    // Inside: teal, and the white text in the middle.
    std::string inside;
    for (int y = 2; y < 16; ++y)
        inside += picture[std::size_t(y)].substr(2, 56);
    EXPECT_EQ(inside.find_first_not_of("tw"), std::string::npos);
    // DT_VCENTER without DT_SINGLELINE leaves the line at the top, as the platform does: the
    // dash's row is the middle of the font's height.
    const auto first = picture[7].find('w', 2);
    ASSERT_NE(first, std::string::npos);
    EXPECT_GT(first, 20u);
    EXPECT_LT(first, 30u);
}

TEST_F(OwnerDrawMenuTest, SeparatorIsAnEtchedLineAcrossItsMiddleInsetTwo) {
    for (UINT state : {0u, UINT(ODS_SELECTED)}) {
        Canvas canvas(100, 5);
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_MENU;
        dis.itemState = state;
        dis.hDC = canvas.dc();
        dis.rcItem = RECT{0, 0, 100, 5};
        dis.itemData = reinterpret_cast<DWORD_PTR>(Record(0));
        m_menu.DrawItem(&dis);
        const std::string plain = "." + std::string(19, ':') + std::string(80, '.');
        const auto picture = canvas.Picture(0, 100);
        EXPECT_EQ(picture[0], plain) << state;
        EXPECT_EQ(picture[1], plain) << state;
        EXPECT_EQ(picture[2], ".:" + std::string(96, 'g') + "..") << state;
        EXPECT_EQ(picture[3], ".:" + std::string(96, 'w') + "..") << state;
        EXPECT_EQ(picture[4], plain) << state;
    }
}

TEST_F(OwnerDrawMenuTest, SubmenuItemShowsNoTickEvenWhenChecked) {
    Canvas canvas(100, 18);
    Draw(canvas, kSub);
    const std::string column = "." + std::string(19, ':') + "....";
    EXPECT_EQ(canvas.Picture(0, 24), std::vector<std::string>(18, column));
}

// Notes its destruction.
class WatchedMenu : public QOwnerDrawMenu {
public:
    explicit WatchedMenu(bool* gone) : m_gone(gone) {}
    ~WatchedMenu() override { *m_gone = true; }

private:
    bool* m_gone;
};

TEST(OwnerDrawMenuLifeTest, ReleaseDeletesSubmenuObjectsAndDestructionTheMenu) {
    bool gone = false;
    HMENU handle = nullptr;
    {
        QOwnerDrawMenu menu;
        EXPECT_FALSE(menu.AddItem(1, L"no handle yet"));
        ASSERT_TRUE(menu.CreatePopupMenu());
        handle = menu.m_hMenu;
        auto* sub = new WatchedMenu(&gone);
        sub->CreatePopupMenu();
        sub->AddItem(2, L"inside");
        ASSERT_TRUE(menu.AddSubmenu(3, L"more", sub));
        EXPECT_FALSE(menu.AddSubmenu(4, L"none", nullptr));
        menu.ReleaseItemData(nullptr);
        EXPECT_FALSE(gone);
        sub->ReleaseItemData(sub); // its own records: ReleaseItemData does not descend
        menu.ReleaseItemData(&menu);
        EXPECT_TRUE(gone);
        EXPECT_EQ(menu.GetMenuItemCount(), 1);
    }
    EXPECT_FALSE(IsMenu(handle));
}

// The menu tracked from a framework window: the window's default handling measures and draws
// its items, which show on the screen in the menu's window.
TEST(OwnerDrawMenuScreenTest, TrackedMenuDrawsItsItemsOnTheScreen) {
    WidgetScreen screen;
    QOwnerDrawMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const std::uint64_t mark = EventLog::Instance().LastSeq();
    menu.AddTitle(L"Colours");
    menu.AddItem(11, L"Red", MF_CHECKED);
    menu.AddSeparator();
    menu.AddItem(12, L"Blue");
    std::vector<std::string> texts;
    for (const EventLog::Entry& e : EventLog::Instance().Since(mark))
        if (e.kind == "menu.item") {
            EXPECT_EQ(e.fields["menu"], reinterpret_cast<std::uintptr_t>(menu.m_hMenu));
            texts.push_back(e.fields["text"]);
        }
    EXPECT_EQ(texts, (std::vector<std::string>{"Colours", "Red", "", "Blue"}));

    // Down: the title, which enter does not choose; down: Red. The picture stays on the screen
    // after the menu closes until something paints there.
    for (UINT key : {VK_DOWN, VK_RETURN, VK_DOWN, VK_ESCAPE})
        screen.Parent().PostMessage(WM_KEYDOWN, key, 0);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &screen.Parent()), 0);
    // The widest item, and room for a check mark that the platform adds to each.
    const LONG width =
        std::max({TextWidth(L"Colours"), TextWidth(L"Red") + 21, TextWidth(L"Blue") + 21}) +
        GetSystemMetrics(SM_CXMENUCHECK);
    // Items start inside the one-pixel frame: the title (16 high), then Red (18).
    EXPECT_EQ(WidgetScreen::Pixel(1 + 0, 1 + 15), kBlack); // the title's edge, 16 high
    EXPECT_EQ(WidgetScreen::Pixel(1 + 1, 1 + 16 + 1), kFrame);
    EXPECT_EQ(WidgetScreen::Pixel(1 + width - 2, 1 + 16 + 1), kFrame);
    EXPECT_EQ(WidgetScreen::Pixel(1 + width - 1, 1 + 16 + 1), kFace);
    EXPECT_EQ(WidgetScreen::Pixel(1 + 6, 1 + 16 + 9), kBlack); // the tick
    EXPECT_EQ(WidgetScreen::Pixel(1 + 30, 1 + 34 + 1), kFace); // the separator, 5 high
    EXPECT_EQ(WidgetScreen::Pixel(1 + 30, 1 + 34 + 2), kGrey);
    EXPECT_EQ(WidgetScreen::Pixel(1 + 30, 1 + 34 + 3), kWhite);
    EXPECT_EQ(WidgetScreen::Pixel(1 + 30, 1 + 34 + 4), kFace);
    EXPECT_EQ(WidgetScreen::Pixel(1 + 2, 1 + 39 + 9), kColumn); // Blue, unselected
    menu.ReleaseItemData(&menu);
}

} // namespace
