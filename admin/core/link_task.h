// A sequence of exchanges that reads like straight code but never waits on
// the line in the GUI thread: a coroutine that `co_await`s each exchange.
//
//   LinkTask<void> AdDiagForm::tick() {
//     for (int n = 0; n < 8; ++n) {
//       const std::string value = co_await readAnalogValueAsync(n);
//       show(n, value);
//     }
//   }
//
// With the line worker inline (tests) every exchange is done at once and the
// whole sequence runs to its end inside start(), exactly as a plain function
// would. With the worker threaded a sequence stops at each exchange, the GUI
// thread goes back to its events, and the sequence goes on as a queued call
// when the reply is in.
//
// Threading contract: a sequence lives and runs on the GUI thread only; it is
// resumed there by the completion of its exchange, never on the line thread.
// Between two co_awaits it runs without interruption and may touch widgets
// and the context; across a co_await anything may have changed (another
// window's sequence may have set LastReply), so read the results of an
// exchange right after awaiting it.
//
// A sequence is lazy: nothing runs before start() or a co_await of it. A
// LinkTask owns its coroutine: destroying it (a window that closes)
// destroys the suspended sequence at its co_await, whose exchange is
// cancelled, so nothing more goes out for it; the code after that co_await
// never runs. Keep a running sequence in a member of its window, and give
// it its arguments by value: a coroutine keeps a reference parameter as a
// reference, which may outlive what it names. Sequences nest: a LinkTask can
// co_await another (the search awaits the reading of each module).
//
// Keep each co_await in a statement of its own (`const bool ok = co_await
// ...;`): GCC 12 crashed with an internal compiler error on a co_await
// inside a short-circuit condition or a function argument.
#pragma once

#include <coroutine>
#include <exception>
#include <functional>
#include <optional>
#include <utility>

namespace orvane::admin {

template <typename T>
class LinkTask;

namespace detail {

struct LinkPromiseBase {
  std::coroutine_handle<> continuation;
  std::function<void()> onFinished;  // a top-level sequence tells its owner
  std::exception_ptr error;

  std::suspend_always initial_suspend() noexcept { return {}; }

  struct FinalAwaiter {
    bool await_ready() noexcept { return false; }
    template <typename Promise>
    std::coroutine_handle<> await_suspend(std::coroutine_handle<Promise> self) noexcept {
      auto& promise = self.promise();
      if (promise.continuation) return promise.continuation;
      if (promise.onFinished) {
        // The owner may destroy this task from here: nothing of the
        // coroutine is touched afterwards.
        auto finished = std::move(promise.onFinished);
        finished();
      }
      return std::noop_coroutine();
    }
    void await_resume() noexcept {}
  };
  FinalAwaiter final_suspend() noexcept { return {}; }
  void unhandled_exception() noexcept { error = std::current_exception(); }
};

template <typename T>
struct LinkPromise : LinkPromiseBase {
  std::optional<T> value;
  LinkTask<T> get_return_object();
  void return_value(T v) { value = std::move(v); }
};

template <>
struct LinkPromise<void> : LinkPromiseBase {
  LinkTask<void> get_return_object();
  void return_void() noexcept {}
};

}  // namespace detail

template <typename T = void>
class [[nodiscard]] LinkTask {
 public:
  using promise_type = detail::LinkPromise<T>;
  using Handle = std::coroutine_handle<promise_type>;

  LinkTask() = default;
  explicit LinkTask(Handle handle) : handle_(handle) {}
  LinkTask(LinkTask&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
  LinkTask& operator=(LinkTask&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, {});
    }
    return *this;
  }
  ~LinkTask() { reset(); }

  // Runs the sequence as a top-level one; onFinished is called when it has
  // run to its end (inline: before start() returns). Not called for a
  // sequence destroyed before its end.
  void start(std::function<void()> onFinished = {}) {
    handle_.promise().onFinished = std::move(onFinished);
    handle_.resume();
  }
  bool valid() const { return static_cast<bool>(handle_); }
  bool done() const { return !handle_ || handle_.done(); }
  // The result of a finished sequence; an exception it ended with is thrown.
  T result() {
    auto& promise = handle_.promise();
    if (promise.error) std::rethrow_exception(promise.error);
    if constexpr (!std::is_void_v<T>) return std::move(*promise.value);
  }
  // Destroys the sequence wherever it stands.
  void reset() {
    if (handle_) std::exchange(handle_, {}).destroy();
  }

  // Awaiting a sequence runs it and goes on when it has ended.
  bool await_ready() const noexcept { return false; }
  std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiting) noexcept {
    handle_.promise().continuation = awaiting;
    return handle_;
  }
  T await_resume() { return result(); }

 private:
  Handle handle_;
};

namespace detail {

template <typename T>
LinkTask<T> LinkPromise<T>::get_return_object() {
  return LinkTask<T>(LinkTask<T>::Handle::from_promise(*this));
}

inline LinkTask<void> LinkPromise<void>::get_return_object() {
  return LinkTask<void>(LinkTask<void>::Handle::from_promise(*this));
}

}  // namespace detail

}  // namespace orvane::admin
