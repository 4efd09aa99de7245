// Test back end that stands between the board-support API and a board, counting every
// register access and page-buffer creation before passing it on. While it lives it is the
// installed back end; afterwards the board is installed again.
#pragma once

#include <map>
#include <utility>

#include "platform/bsp/BspBackend.h"

class CountingBackend : public BspBackend {
public:
    explicit CountingBackend(BspBackend& board) : m_board(board) { Install(this); }
    ~CountingBackend() override {
        Uninstall(this);
        Install(&m_board);
    }

    DWORD ReadRegister(XScaleBlock block, DWORD offset) override {
        ++reads[{block, offset}];
        return m_board.ReadRegister(block, offset);
    }
    void WriteRegister(XScaleBlock block, DWORD offset, DWORD value) override {
        ++writes[{block, offset}];
        m_board.WriteRegister(block, offset, value);
    }
    bool RamVariableExists(const std::wstring& name) override {
        return m_board.RamVariableExists(name);
    }
    bool CreatePageBuffer(const std::wstring& name, DWORD size) override {
        ++creations;
        return m_board.CreatePageBuffer(name, size);
    }
    bool GetPageBuffer(const std::wstring& name, void** cpu, DWORD* phys) override {
        return m_board.GetPageBuffer(name, cpu, phys);
    }

    int Reads(XScaleBlock block, DWORD offset) const { return Count(reads, block, offset); }
    int Writes(XScaleBlock block, DWORD offset) const { return Count(writes, block, offset); }
    int Accesses() const {
        int n = 0;
        for (const auto& [key, count] : reads)
            n += count;
        for (const auto& [key, count] : writes)
            n += count;
        return n;
    }

    std::map<std::pair<XScaleBlock, DWORD>, int> reads;
    std::map<std::pair<XScaleBlock, DWORD>, int> writes;
    int creations = 0;

private:
    static int Count(const std::map<std::pair<XScaleBlock, DWORD>, int>& counts, XScaleBlock block,
                     DWORD offset) {
        const auto it = counts.find({block, offset});
        return it == counts.end() ? 0 : it->second;
    }

    BspBackend& m_board;
};
