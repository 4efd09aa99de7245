// The focus grid: arrow keys move the focus through a table of controls with wrap-around,
// skipping empty cells; from outside the grid to its first cell; a row without any control
// leaves the focus where it is.
#include "keypad/QFocusGrid.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "keypad/Keypad.h"
#include "testsupport/ClockModeGuard.h"

namespace {

struct Cell {
    int row;
    int column;
    bool operator==(const Cell&) const = default;
};
void PrintTo(const Cell& c, std::ostream* os) {
    *os << "(" << c.row << ", " << c.column << ")";
}

class QFocusGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClockModeGuard::Clock().SetManual();
        ASSERT_TRUE(m_parent.CreateEx(0, AfxWndClassName(), L"grid", WS_POPUP | WS_VISIBLE, 0, 0,
                                      240, 320, nullptr, nullptr));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    // One row of text per grid row: 'X' a control, '.' an empty cell.
    void Build(const std::vector<std::string>& layout) {
        m_controls.clear();
        m_grid.SetGridSize(0, 0); // cells kept from the last layout would be stale
        m_grid.SetGridSize(int(layout.size()), int(layout[0].size()));
        for (int r = 0; r < int(layout.size()); ++r)
            for (int c = 0; c < int(layout[std::size_t(r)].size()); ++c) {
                if (layout[std::size_t(r)][std::size_t(c)] != 'X')
                    continue;
                auto control = std::make_unique<CWnd>();
                ASSERT_TRUE(control->CreateEx(0, AfxWndClassName(), L"", WS_CHILD | WS_VISIBLE,
                                              c * 40, r * 40, 30, 30, m_parent.m_hWnd, nullptr));
                m_grid.SetCell(control.get(), r, c);
                m_controls.push_back(std::move(control));
            }
    }
    // The focused control's cell; (-1, -1) outside the grid.
    Cell Focused() {
        int row = -1;
        int column = -1;
        if (!m_grid.FindFocusedCell(row, column))
            return {-1, -1};
        return {row, column};
    }

    ClockModeGuard m_clock;
    CWnd m_parent;
    std::vector<std::unique_ptr<CWnd>> m_controls;
    QFocusGrid m_grid;
};

TEST_F(QFocusGridTest, ArrowsWrapAroundAndSkipEmptyCells) {
    struct MoveCase {
        std::vector<std::string> layout;
        Cell from; // (-1, -1): the focus is outside the grid
        int key;
        Cell to;
    };
    const MoveCase cases[] = {
        {{"XXX"}, {0, 2}, KEY_RIGHT, {0, 0}},
        {{"XXX"}, {0, 0}, KEY_LEFT, {0, 2}},
        {{"X.X"}, {0, 0}, KEY_RIGHT, {0, 2}},
        {{"X.X"}, {0, 2}, KEY_LEFT, {0, 0}},
        {{"XX", "X."}, {0, 1}, KEY_DOWN, {1, 0}},
        {{"XX", "X."}, {0, 1}, KEY_UP, {1, 0}},
        {{".X", "XX"}, {1, 0}, KEY_UP, {0, 1}},
        {{"XX", "XX"}, {1, 1}, KEY_DOWN, {0, 1}},
        // Three rows and columns: a wrap goes to the far end, not to the neighbour.
        {{"XXX", "XXX", "XXX"}, {0, 1}, KEY_UP, {2, 1}},
        {{"XXX", "XXX", "XXX"}, {2, 1}, KEY_DOWN, {0, 1}},
        {{"XXX", "XXX", "XXX"}, {1, 0}, KEY_LEFT, {1, 2}},
        {{"XXX", "XXX", "XXX"}, {1, 2}, KEY_RIGHT, {1, 0}},
        {{"X"}, {0, 0}, KEY_RIGHT, {0, 0}},
        {{"XX", "XX"}, {0, 1}, KEY_ENTER, {0, 1}},
        {{"XX", "XX"}, {-1, -1}, KEY_RIGHT, {0, 0}},
        // A row without a control: the focus stays.
        {{"XX", ".."}, {0, 1}, KEY_DOWN, {0, 1}},
        {{"XX", ".."}, {0, 0}, KEY_UP, {0, 0}},
    };
    for (const MoveCase& m : cases) {
        SCOPED_TRACE(m.layout[0] + (m.layout.size() > 1 ? "|" + m.layout[1] : std::string()) +
                     " key " + std::to_string(m.key));
        Build(m.layout);
        if (m.from.row < 0)
            m_parent.SetFocus();
        else
            m_grid.FocusCell(m.from.row, m.from.column);
        ASSERT_EQ(m.from, Focused());
        m_grid.MoveFocus(m.key);
        EXPECT_EQ(m.to, Focused());
    }
}

TEST_F(QFocusGridTest, AMoveStartsFromTheControlThatHasTheFocusNow) {
    Build({"XXX", "XXX"});
    m_grid.FocusCell(0, 0);
    m_grid.GetAt(1 * 3 + 1)->SetFocus(); // a tap on (1, 1)
    m_grid.MoveFocus(KEY_RIGHT);
    EXPECT_EQ((Cell{1, 2}), Focused());
}

TEST_F(QFocusGridTest, ResizingKeepsCellsByIndex) {
    Build({"XX", "XX"});
    CWnd* first = m_grid.GetAt(0);
    CWnd* last = m_grid.GetAt(3);
    m_grid.SetGridSize(3, 2);
    ASSERT_EQ(6, m_grid.GetSize());
    EXPECT_EQ(first, m_grid.GetAt(0));
    EXPECT_EQ(last, m_grid.GetAt(3));
    EXPECT_EQ(nullptr, m_grid.GetAt(4));
    EXPECT_EQ(nullptr, m_grid.GetAt(5));
    m_grid.SetGridSize(0, 0);
    EXPECT_EQ(0, m_grid.GetSize());
    m_grid.MoveFocus(KEY_DOWN); // nothing to move through, and no harm
    EXPECT_EQ((Cell{-1, -1}), Focused());
}

} // namespace
