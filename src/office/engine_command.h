// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>

namespace corvanteller {

// One command's use of an engine: the command starts with an empty engine, and whatever a
// failed command built is dropped, so that the next command never works in it.
template <class Engine> class EngineCommand {
public:
    explicit EngineCommand(Engine& engine)
        : engine_(engine), exceptions_(std::uncaught_exceptions()) {
        engine_.reset();
    }
    ~EngineCommand() {
        if (std::uncaught_exceptions() > exceptions_) {
            engine_.reset();
        }
    }
    EngineCommand(const EngineCommand&) = delete;
    EngineCommand& operator=(const EngineCommand&) = delete;

private:
    Engine& engine_;
    int exceptions_;
};

} // namespace corvanteller
