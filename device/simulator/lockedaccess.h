#pragma once

// Accessors for the simulator's settings and counters. Tests read and change them from their
// own thread while a host talks to the device, so each one goes through the owner's mutex.

#include <mutex>
#include <utility>

template <typename T> T lockedGet(std::mutex &mutex, const T &member)
{
    std::lock_guard<std::mutex> l(mutex);
    return member;
}

template <typename T, typename V> void lockedSet(std::mutex &mutex, T &member, V &&value)
{
    std::lock_guard<std::mutex> l(mutex);
    member = std::forward<V>(value);
}
