// Test observer of a board: records line edges, transfers, exchanges and faults as they are
// reported, and can act on an exchange (to change the world in the middle of a download).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sim/board/BoardObserver.h"

class BoardRecorder : public BoardObserver {
public:
    struct Edge {
        int gpio;
        bool level;
        std::uint64_t us;
    };
    struct Transfer {
        std::uint64_t startUs;
        std::uint64_t endUs;
        DWORD bytes;
    };

    void OnLine(int gpio, bool level, std::uint64_t us) override {
        edges.push_back({gpio, level, us});
    }
    void OnTransferStart(std::uint64_t us, DWORD bytes) override {
        transfers.push_back({us, 0, bytes});
    }
    void OnTransferEnd(std::uint64_t us) override { transfers.back().endUs = us; }
    void OnExchange(const CoprocExchange& exchange) override {
        exchanges.push_back(exchange);
        if (onExchange)
            onExchange(exchange);
    }
    void OnFault(std::uint64_t, const std::string& reason) override { faults.push_back(reason); }

    // Rising edges seen on a line.
    int Rises(int gpio) const {
        int n = 0;
        for (const Edge& e : edges)
            n += (e.gpio == gpio && e.level) ? 1 : 0;
        return n;
    }
    // Names of the commands of the exchanges that carried a frame, in order.
    std::vector<std::string> Commands() const {
        std::vector<std::string> names;
        for (const CoprocExchange& e : exchanges)
            if (e.bytesIn > 0)
                names.push_back(e.commandName);
        return names;
    }
    std::vector<DWORD> TransferSizes() const {
        std::vector<DWORD> sizes;
        for (const Transfer& t : transfers)
            sizes.push_back(t.bytes);
        return sizes;
    }

    std::vector<Edge> edges;
    std::vector<Transfer> transfers;
    std::vector<CoprocExchange> exchanges;
    std::vector<std::string> faults;
    std::function<void(const CoprocExchange&)> onExchange;
};
