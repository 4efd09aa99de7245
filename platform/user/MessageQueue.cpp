#include "platform/user/MessageQueue.h"

#include <algorithm>

bool MessageQueue::Passes(const MSG& msg, HWND filter, UINT min, UINT max) {
    if (filter && msg.hwnd != filter)
        return false;
    if (min == 0 && max == 0)
        return true;
    return msg.message >= min && msg.message <= max;
}

void MessageQueue::Post(const MSG& msg) {
    m_posted.push_back(msg);
    Wake();
}

bool MessageQueue::TakePosted(MSG* msg, HWND filter, UINT min, UINT max, bool remove) {
    for (auto it = m_posted.begin(); it != m_posted.end(); ++it) {
        if (!Passes(*it, filter, min, max))
            continue;
        *msg = *it;
        if (remove)
            m_posted.erase(it);
        return true;
    }
    return false;
}

bool MessageQueue::HasPosted(HWND filter, UINT min, UINT max) const {
    return std::any_of(m_posted.begin(), m_posted.end(),
                       [&](const MSG& m) { return Passes(m, filter, min, max); });
}

void MessageQueue::PushSent(std::shared_ptr<Sent> sent) {
    m_sent.push_back(std::move(sent));
    Wake();
}

std::shared_ptr<MessageQueue::Sent> MessageQueue::PopSent() {
    if (m_sent.empty())
        return nullptr;
    auto sent = m_sent.front();
    m_sent.pop_front();
    return sent;
}

void MessageQueue::FailPendingSent() {
    for (auto& sent : m_sent) {
        sent->result = 0;
        sent->done = true;
        if (sent->sender)
            sent->sender->Wake();
    }
    m_sent.clear();
}

void MessageQueue::PostQuit(int exitCode) {
    m_quit = true;
    m_quitCode = exitCode;
    Wake();
}

MessageQueue::Timer* MessageQueue::FindTimer(HWND hwnd, UINT_PTR id) {
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    return it == m_timers.end() ? nullptr : &*it;
}

UINT_PTR MessageQueue::SetTimer(HWND hwnd, UINT_PTR id, UINT periodMs, TIMERPROC proc,
                                std::uint64_t nowUs) {
    if (!hwnd)
        id = m_nextThreadTimerId++;
    std::uint64_t due = nowUs + std::uint64_t(periodMs) * 1000;
    if (Timer* existing = FindTimer(hwnd, id)) {
        existing->periodMs = periodMs;
        existing->dueUs = due;
        existing->proc = proc;
    } else {
        m_timers.push_back(Timer{hwnd, id, periodMs, due, proc});
    }
    ++m_timerGeneration;
    Wake();
    return id;
}

bool MessageQueue::KillTimer(HWND hwnd, UINT_PTR id) {
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == m_timers.end())
        return false;
    m_timers.erase(it);
    ++m_timerGeneration;
    return true;
}

void MessageQueue::KillTimersOf(HWND hwnd) {
    std::erase_if(m_timers, [&](const Timer& t) { return t.hwnd == hwnd; });
    ++m_timerGeneration;
}

bool MessageQueue::HasTimer(HWND hwnd, UINT_PTR id, TIMERPROC proc) const {
    return std::any_of(m_timers.begin(), m_timers.end(), [&](const Timer& t) {
        return t.hwnd == hwnd && t.id == id && t.proc == proc;
    });
}

const MessageQueue::Timer* MessageQueue::DueTimer(std::uint64_t nowUs, HWND filter) const {
    const Timer* first = nullptr;
    for (const Timer& t : m_timers) {
        if (filter && t.hwnd != filter)
            continue;
        if (t.dueUs <= nowUs && (!first || t.dueUs < first->dueUs))
            first = &t;
    }
    return first;
}

void MessageQueue::Reschedule(HWND hwnd, UINT_PTR id, std::uint64_t nowUs) {
    Timer* t = FindTimer(hwnd, id);
    if (!t)
        return;
    std::uint64_t period = std::uint64_t(t->periodMs) * 1000;
    t->dueUs += period;
    if (t->dueUs <= nowUs)
        t->dueUs = nowUs + period;
}

std::uint64_t MessageQueue::NextTimerDueUs(HWND filter) const {
    std::uint64_t next = UINT64_MAX;
    for (const Timer& t : m_timers)
        if (!filter || t.hwnd == filter)
            next = std::min(next, t.dueUs);
    return next;
}
