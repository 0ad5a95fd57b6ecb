#pragma once
// What the windows of one subsystem ask of windows that are not theirs: one value for the
// program (a struct of std::function, or one std::function), which the main window sets
// when it wires the windows and the forms read when they need it. Empty until it is set,
// so a form checks a request before it calls it.

#include <utility>

namespace qv {

// The held requests of type R. `Owner` tells apart two holders of the same type (the
// form class that asks, for a single std::function).
template <class R, class Owner = R> class Requests {
public:
    static void set(R requests) { held() = std::move(requests); }
    static const R& get() { return held(); }

private:
    static R& held() {
        static R requests;
        return requests;
    }
};

} // namespace qv
