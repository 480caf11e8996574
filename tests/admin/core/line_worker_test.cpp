// The line worker and the sequences that run on it, against the simulator:
// sequences nest and hand on their results and exceptions, inline and
// threaded alike; a destroyed sequence sends nothing more; Stop cuts a
// pause; a pulled adapter fails a sequence and the worker goes on.
#include "admin/core/line_worker.h"

#include <QTest>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "admin/core/command_link.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin {
namespace {

using namespace testing;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Frames = std::vector<std::string>;

// One exchange with the module at 1: its reply, or why it failed.
LinkTask<std::string> ask(AdminContext& context, std::string command) {
  context.LastCommand = std::move(command);
  const bool ok = co_await ExchangeAsync(context, {}, 0, context.ReplyTimeout);
  co_return ok ? context.LastReply : "failed: " + context.LastLinkError;
}

LinkTask<std::string> askAll(AdminContext& context, Frames commands) {
  std::string replies;
  for (const auto& command : commands) replies += co_await ask(context, command) + ";";
  co_return replies;
}

LinkTask<std::string> askThenRefuse(AdminContext& context) {
  co_await ask(context, "$01M");
  throw std::runtime_error("the module refused");
}

LinkTask<std::string> refusedInside(AdminContext& context) {
  std::string replies = co_await askThenRefuse(context);
  co_return replies + co_await ask(context, "$01F");
}

class LineWorkerTest : public AdminFixture {
 protected:
  void SetUp() override {
    startNetworkOnLink({simModule("7213", 1)});
    openPort();
    context_->ReplyTimeout = 1000;
  }
  LineWorker& line() { return context_->line(); }
};

TEST_F(LineWorkerTest, SequencesNestAndHandOnTheirResultsAndExceptionsInlineAndThreaded) {
  struct Case {
    const char* name;
    LinkTask<std::string> (*sequence)(AdminContext&);
    std::string outcome;  // the result, or the text of the exception
    Frames frames;
  };
  const Case cases[] = {
      {"the replies of nested sequences, in order",
       [](AdminContext& c) {
         return askAll(c, {"$01M", "$01F", "$01M"});
       },
       "!017213;!01A1.0;!017213;",
       {"$01M", "$01F", "$01M"}},
      {"an exception after an exchange", askThenRefuse, "the module refused", {"$01M"}},
      {"an exception in a nested sequence ends the outer one",
       refusedInside,
       "the module refused",
       {"$01M"}},
  };
  for (const bool threaded : {false, true}) {
    if (threaded) line().startThread();
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (threaded ? ", threaded" : ", inline"));
      network_->clearFrames();
      std::string outcome;
      try {
        outcome = RunSequence(c.sequence(*context_));
      } catch (const std::runtime_error& error) {
        outcome = error.what();
      }
      EXPECT_EQ(outcome, c.outcome);
      EXPECT_EQ(framesSent(), c.frames);
    }
  }
}

TEST_F(LineWorkerTest, ADestroyedSequenceSendsNothingMoreAndItsQueuedExchangeNeverGoesOut) {
  line().startThread();
  network_->setFault(1, "$AAM", {.delayMs = 300});
  int finished = 0;
  auto onTheWire = askAll(*context_, {"$01M", "$012"});
  auto waiting = ask(*context_, "$01F");  // queued behind the slow one
  onTheWire.start([&finished] { ++finished; });
  waiting.start([&finished] { ++finished; });
  ASSERT_TRUE(network_->waitForFrames(1, 5s));
  onTheWire.reset();
  waiting.reset();
  QTest::qWait(700);  // the slow reply came and went meanwhile
  EXPECT_EQ(finished, 0);
  EXPECT_EQ(framesSent(), Frames{"$01M"});
  EXPECT_EQ(RunSequence(ask(*context_, "$01M")), "!017213") << "the worker goes on";
}

TEST_F(LineWorkerTest, StopCutsThePauseOfAJobWaitingItsTurnButNotOfOneHandedOverAfter) {
  line().startThread();
  bool cut = false;
  bool laterCut = false;
  const auto pauseFor = [this](std::chrono::milliseconds duration, bool& cutShort) {
    try {
      line().pause(duration);
    } catch (const LineJobCancelled&) {
      cutShort = true;
    }
  };
  const auto start = Clock::now();
  line().post([] { std::this_thread::sleep_for(300ms); }, [] {});  // the line is busy
  line().post([&] { pauseFor(5s, cut); }, [] {});
  line().interruptPause();  // Stop, before that job's settle pause began
  line().call([&] { pauseFor(20ms, laterCut); });
  EXPECT_TRUE(cut);
  EXPECT_LT(Clock::now() - start, 2500ms) << "not the whole pause of 5 s";
  EXPECT_FALSE(laterCut);
}

TEST_F(LineWorkerTest, APulledAdapterFailsTheSequenceAtOnceAndTheWorkerGoesOn) {
  line().startThread();
  context_->ReplyTimeout = 2000;
  const std::string gone = "failed: " + disconnectedText();
  for (const int sentBeforeTheHangUp : {0, 3}) {
    SCOPED_TRACE(sentBeforeTheHangUp);
    network_->clearFrames();
    network_->setFault(1, "$AA2", {.hangUpAfter = sentBeforeTheHangUp});
    const auto start = Clock::now();
    EXPECT_EQ(RunSequence(askAll(*context_, {"$01M", "$012", "$01F"})),
              "!017213;" + gone + ";" + gone + ";");
    EXPECT_LT(Clock::now() - start, 1000ms) << "no exchange waits for its reply time-out";
    EXPECT_EQ(framesSent(), (Frames{"$01M", "$012"})) << "each once; none to a missing device";
    network_->clearFaults();
    network_->replug();
    EXPECT_EQ(RunSequence(ask(*context_, "$01M")), "!017213") << "once replugged";
  }
}

}  // namespace
}  // namespace orvane::admin
