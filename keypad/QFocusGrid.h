// A table of controls through which the arrow keys move the focus, with wrap-around and skipping
// empty cells (the themed message box's buttons). Cells are held row by row; the grid does not
// own the controls.
#pragma once

#include "platform/kernel/CArray.h"
#include "platform/user/CWnd.h"

class QFocusGrid : public CArray<CWnd*, CWnd*> {
public:
    // Cells already present keep their index; new cells are empty; a size of 0 frees them all.
    void SetGridSize(int rows, int columns);
    void SetCell(CWnd* control, int row, int column);
    // Makes the cell current and gives its control the focus, unless it has it already.
    void FocusCell(int row, int column);
    // The cell of the focused control: the current cell when that one has it, else the first
    // in array order. FALSE when no cell holds the focused control.
    BOOL FindFocusedCell(int& row, int& column);
    // Moves the focus for KEY_UP, KEY_DOWN, KEY_LEFT or KEY_RIGHT; from outside the grid, to (0,
    // 0).
    void MoveFocus(int key);

private:
    CWnd* Cell(int row, int column) const { return GetAt(row * m_nColumns + column); }
    int PreviousColumn(int column) const { return column == 0 ? m_nColumns - 1 : column - 1; }

    int m_nRows = 0;
    int m_nColumns = 0;
    int m_nCurrentRow = 0;
    int m_nCurrentColumn = 0;
};
