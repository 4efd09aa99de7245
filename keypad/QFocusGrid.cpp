#include "keypad/QFocusGrid.h"

#include "keypad/Keypad.h"

void QFocusGrid::SetGridSize(int rows, int columns) {
    m_nRows = rows > 0 && columns > 0 ? rows : 0;
    m_nColumns = rows > 0 && columns > 0 ? columns : 0;
    SetSize(m_nRows * m_nColumns);
}

void QFocusGrid::SetCell(CWnd* control, int row, int column) {
    if (row >= 0 && row < m_nRows && column >= 0 && column < m_nColumns)
        SetAt(row * m_nColumns + column, control);
}

void QFocusGrid::FocusCell(int row, int column) {
    m_nCurrentRow = row;
    m_nCurrentColumn = column;
    if (row < 0 || row >= m_nRows || column < 0 || column >= m_nColumns)
        return;
    CWnd* control = Cell(row, column);
    if (control && control != CWnd::GetFocus())
        control->SetFocus();
}

BOOL QFocusGrid::FindFocusedCell(int& row, int& column) {
    // With no focus at all no cell has it: an empty cell does not match a null focus.
    CWnd* focus = CWnd::GetFocus();
    if (!focus)
        return FALSE;
    if (m_nCurrentRow < m_nRows && m_nCurrentColumn < m_nColumns &&
        Cell(m_nCurrentRow, m_nCurrentColumn) == focus) {
        row = m_nCurrentRow;
        column = m_nCurrentColumn;
        return TRUE;
    }
    for (int i = 0; i < GetSize(); ++i) {
        if (GetAt(i) == focus) {
            row = i / m_nColumns;
            column = i % m_nColumns;
            return TRUE;
        }
    }
    return FALSE;
}

void QFocusGrid::MoveFocus(int key) {
    int row = 0;
    int column = 0;
    if (!FindFocusedCell(row, column)) {
        FocusCell(0, 0);
        return;
    }
    m_nCurrentRow = row;
    m_nCurrentColumn = column;

    // Every search below looks at each column of a row at most once: a row without any control
    // leaves the focus where it is.
    switch (key) {
    case KEY_UP:
    case KEY_DOWN: {
        row = key == KEY_UP ? (row == 0 ? m_nRows - 1 : row - 1) : (row + 1) % m_nRows;
        int tries = 0;
        while (!Cell(row, column) && ++tries < m_nColumns)
            column = PreviousColumn(column);
        if (!Cell(row, column))
            return;
        break;
    }
    case KEY_LEFT:
    case KEY_RIGHT: {
        int tries = 0;
        do {
            column = key == KEY_LEFT ? PreviousColumn(column) : (column + 1) % m_nColumns;
        } while (!Cell(row, column) && ++tries < m_nColumns);
        break;
    }
    default:
        break;
    }
    FocusCell(row, column);
}
