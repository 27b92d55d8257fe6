#pragma once
// A small typed signal: the model's objects raise events through it and the windows
// connect to them. Slots may connect or disconnect (themselves or others) while the
// signal is being raised; a slot disconnected during a raise is not called afterwards.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace varnak {

using ConnectionId = std::uint64_t;

template <typename... Args>
class Signal {
public:
    using Slot = std::function<void(Args...)>;

    ConnectionId connect(Slot slot) {
        auto entry = std::make_shared<Entry>(Entry{++lastId_, std::move(slot), true});
        entries_.push_back(entry);
        return entry->id;
    }

    void disconnect(ConnectionId id) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if ((*it)->id == id) {
                (*it)->alive = false;
                entries_.erase(it);
                return;
            }
        }
    }

    // Arguments are passed on as given, so a slot taking a reference can change them
    // (the events that pass their argument "by reference").
    template <typename... CallArgs>
    void raise(CallArgs&&... args) const {
        auto snapshot = entries_;
        for (auto& e : snapshot) {
            if (e->alive) e->slot(std::forward<CallArgs>(args)...);
        }
    }

private:
    struct Entry {
        ConnectionId id;
        Slot slot;
        bool alive;
    };
    std::vector<std::shared_ptr<Entry>> entries_;
    ConnectionId lastId_ = 0;
};

// Disconnects on destruction: for observers that live shorter than the object they watch.
class ScopedConnection {
public:
    ScopedConnection() = default;
    template <typename... Args>
    ScopedConnection(Signal<Args...>& signal, ConnectionId id)
        : disconnect_([&signal, id] { signal.disconnect(id); }) {}
    ScopedConnection(ScopedConnection&& other) noexcept
        : disconnect_(std::move(other.disconnect_)) {
        other.disconnect_ = nullptr;
    }
    ScopedConnection& operator=(ScopedConnection&& other) noexcept {
        if (this != &other) {
            reset();
            disconnect_ = std::move(other.disconnect_);
            other.disconnect_ = nullptr;
        }
        return *this;
    }
    ~ScopedConnection() { reset(); }
    void reset() {
        if (disconnect_) disconnect_();
        disconnect_ = nullptr;
    }

private:
    std::function<void()> disconnect_;
};

}  // namespace varnak
