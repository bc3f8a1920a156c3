#pragma once
// Guard: every event handler runs behind it. An exception that leaves a handler ends that
// handler at the failing step and is shown as the default error report (a message box with
// the error's text, through the dialogs service); the program goes on. No exception ever
// reaches Qt's event loop. What the box says is Traditional Chinese, also for an exception that
// is not the engine's (store::EngineError::from).

#include <QObject>
#include <functional>
#include <utility>

namespace toolkit {

// Runs `handler`; reports what it throws. Returns false when it threw.
bool runGuarded(const std::function<void()>& handler) noexcept;

// Connects `signal` of `sender` to the handler `method` of `receiver` (a method taking no
// arguments), through the guard.
template <class Sender, class Signal, class Receiver>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, Receiver* receiver,
                                       void (Receiver::*method)()) {
  return QObject::connect(sender, signal, receiver,
                          [receiver, method]() { runGuarded([&] { (receiver->*method)(); }); });
}

// The same for any callable.
template <class Sender, class Signal, class Callable>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, QObject* context,
                                       Callable handler) {
  return QObject::connect(sender, signal, context,
                          [handler = std::move(handler)]() { runGuarded([&] { handler(); }); });
}

}  // namespace toolkit
