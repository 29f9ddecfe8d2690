#include "platform/MessageQueue.h"

#include <algorithm>

namespace automenu::platform {

void MessageQueue::Post(const Message& msg) {
    if (msg.kind == MessageKind::MouseMove && !m_posted.empty() && m_posted.back().kind == MessageKind::MouseMove &&
        m_posted.back().window == msg.window) {
        m_posted.back() = msg;
        return;
    }
    m_posted.push_back(msg);
}

void MessageQueue::PostQuit(int exit_code) { m_quit = exit_code; }

void MessageQueue::PostDefaultAction(WindowId w, std::size_t item) {
    Message msg;
    msg.kind = MessageKind::DefaultAction;
    msg.window = w;
    msg.item = item;
    Post(msg);
}

void MessageQueue::Invalidate(WindowId w, const TRect& r) {
    if (r.IsEmpty()) return;
    auto& area = m_invalid[w];
    area = area.Union(r);
}

TRect MessageQueue::TakeInvalid(WindowId w) {
    auto it = m_invalid.find(w);
    if (it == m_invalid.end()) return {};
    TRect r = it->second;
    m_invalid.erase(it);
    return r;
}

bool MessageQueue::HasInvalid(WindowId w) const { return m_invalid.count(w) != 0; }

void MessageQueue::SetTimer(WindowId w, int id, unsigned milliseconds, std::uint64_t now_ms) {
    m_timers[{w, id}] = Timer{milliseconds, now_ms + milliseconds};
}

void MessageQueue::KillTimer(WindowId w, int id) { m_timers.erase({w, id}); }

std::optional<std::uint64_t> MessageQueue::NextTimerDue() const {
    std::optional<std::uint64_t> due;
    for (const auto& [key, t] : m_timers)
        if (!due || t.due < *due) due = t.due;
    return due;
}

void MessageQueue::Forget(WindowId w) {
    m_invalid.erase(w);
    std::erase_if(m_timers, [w](const auto& entry) { return entry.first.first == w; });
    std::erase_if(m_posted, [w](const Message& m) { return m.window == w; });
}

void MessageQueue::DropInput() {
    std::erase_if(m_posted, [](const Message& m) {
        return m.kind == MessageKind::MouseMove || IsKeyOrButtonMessage(m.kind);
    });
}

bool MessageQueue::Take(Message& out, std::uint64_t now_ms) {
    if (!m_posted.empty()) {
        out = m_posted.front();
        m_posted.pop_front();
        return true;
    }
    if (m_quit) {
        out = Message{};
        out.kind = MessageKind::Quit;
        out.exit_code = *m_quit;
        m_quit.reset();
        return true;
    }
    for (auto& [key, t] : m_timers) {
        if (t.due <= now_ms) {
            out = Message{};
            out.kind = MessageKind::Timer;
            out.window = key.first;
            out.timer_id = key.second;
            t.due = now_ms + std::max(1u, t.interval);
            return true;
        }
    }
    if (!m_invalid.empty()) {
        out = Message{};
        out.kind = MessageKind::Paint;
        out.window = m_invalid.begin()->first;
        return true;
    }
    return false;
}

}  // namespace automenu::platform
