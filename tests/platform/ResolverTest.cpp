// Tests of the asynchronous host-name look-up: answers through the pump, errors, cancelled late answers.
#include "platform/Resolver.h"

#include "platform/SecureRandom.h"
#include "platform/SocketErrors.h"

#include "LoopbackPeer.h"

#include <cerrno>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <netdb.h>
#include <set>
#include <thread>

namespace {

struct TRecordedMessage {
    uint32_t Message;
    uintptr_t WParam, LParam;
};

class TRecordingTarget : public TWindowMessageTarget {
public:
    std::vector<TRecordedMessage> Messages;
    void onWindowMessage(uint32_t Message, uintptr_t WParam, uintptr_t LParam) override {
        Messages.push_back({Message, WParam, LParam});
    }
};

// Answers with a fixed result once released; never looks anything up.
class TFakeResolver : public THostResolver {
public:
    explicit TFakeResolver(THostLookupResult Answer, bool StartReleased = true)
        : Answer(std::move(Answer)), Released(StartReleased) {}
    THostLookupResult resolve(const std::string& HostName) override {
        std::unique_lock<std::mutex> Guard(Lock);
        Asked.push_back(HostName);
        Changed.wait(Guard, [&] { return Released; });
        return Answer;
    }
    void release() {
        std::lock_guard<std::mutex> Guard(Lock);
        Released = true;
        Changed.notify_all();
    }
    std::vector<std::string> asked() {
        std::lock_guard<std::mutex> Guard(Lock);
        return Asked;
    }

private:
    THostLookupResult Answer;
    bool Released;
    std::mutex Lock;
    std::condition_variable Changed;
    std::vector<std::string> Asked;
};

class ResolverTest : public ::testing::Test {
protected:
    void TearDown() override { SetHostResolver(nullptr); }
    TRecordingTarget Target;
    char Buffer[1024] = {};
    int Error = -1;
};

} // namespace

TEST_F(ResolverTest, AnswerArrivesAsWindowMessageThroughThePump) {
    auto Fake = std::make_shared<TFakeResolver>(THostLookupResult{0, "10.0.0.1"});
    SetHostResolver(Fake);
    THostLookupHandle Handle =
        StartHostLookup(&Target, "login.pellarune.test", Buffer, sizeof(Buffer), Error);
    ASSERT_NE(Handle, 0u);
    EXPECT_EQ(Error, 0);
    EXPECT_TRUE(Target.Messages.empty()) << "never before the pump runs";
    ASSERT_TRUE(PumpUntil([&] { return !Target.Messages.empty(); }));
    ASSERT_EQ(Target.Messages.size(), 1u);
    EXPECT_EQ(Target.Messages[0].Message, 0x401u);
    EXPECT_EQ(Target.Messages[0].WParam, Handle);
    EXPECT_EQ(Target.Messages[0].LParam >> 16, 0u);
    EXPECT_STREQ(Buffer, "10.0.0.1");
    EXPECT_EQ(Fake->asked(), std::vector<std::string>{"login.pellarune.test"});
    EXPECT_EQ(GetPendingHostLookups(), 0);
}

TEST_F(ResolverTest, ErrorTravelsInTheHighWordOfTheSecondParameter) {
    SetHostResolver(std::make_shared<TFakeResolver>(THostLookupResult{WSAHOST_NOT_FOUND, ""}));
    StartHostLookup(&Target, "nowhere.test", Buffer, sizeof(Buffer), Error);
    ASSERT_TRUE(PumpUntil([&] { return !Target.Messages.empty(); }));
    EXPECT_EQ(Target.Messages[0].LParam >> 16, 11001u);
    EXPECT_STREQ(Buffer, "");
}

TEST_F(ResolverTest, CancelledLookupsLateAnswerIsDropped) {
    auto Fake = std::make_shared<TFakeResolver>(THostLookupResult{0, "10.0.0.2"}, false);
    SetHostResolver(Fake);
    THostLookupHandle Handle = StartHostLookup(&Target, "slow.test", Buffer, sizeof(Buffer), Error);
    ASSERT_TRUE(PumpUntil([&] { return Fake->asked().size() == 1; }));
    EXPECT_TRUE(CancelHostLookup(Handle));
    EXPECT_FALSE(CancelHostLookup(Handle));
    Fake->release();
    ASSERT_GT(PumpEvents(10000), 0) << "the late answer still reaches the pump";
    EXPECT_TRUE(Target.Messages.empty());
    EXPECT_STREQ(Buffer, "") << "the buffer is left alone";
}

TEST_F(ResolverTest, SystemResolverReadsALiteralAddressWithoutAQuery) {
    TSystemResolver System;
    THostLookupResult Result = System.resolve("127.0.0.1");
    EXPECT_EQ(Result.Error, 0);
    EXPECT_EQ(Result.Address, "127.0.0.1");
}

TEST(EventPump, PostedWorkWakesAWaitingPumpAndRunsInOrder) {
    std::vector<int> Ran;
    std::thread Poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostToPumpThread([&] { Ran.push_back(1); });
        PostToPumpThread([&] { Ran.push_back(2); });
    });
    // A wait that nothing wakes ends with no delivery.
    bool Woken = true;
    while (Ran.size() < 2 && Woken)
        Woken = PumpEvents(60000) > 0;
    Poster.join();
    EXPECT_TRUE(Woken) << "the wait was not woken";
    EXPECT_EQ(Ran, (std::vector<int>{1, 2}));
}

TEST(SecureRandom, FillsEveryByteAndNeverRepeats) {
    std::vector<uint8_t> First(4096), Second(4096);
    ASSERT_TRUE(GetSecureRandomBytes(First.data(), First.size()));
    ASSERT_TRUE(GetSecureRandomBytes(Second.data(), Second.size()));
    EXPECT_NE(First, Second);
    std::set<uint8_t> Values(First.begin(), First.end());
    EXPECT_EQ(Values.size(), 256u) << "4096 random bytes take every value";
}

TEST(SocketErrors, PosixAndResolverCodesBecomeWindowsCodesWithTheirFallbacks) {
    EXPECT_EQ(SocketErrorFromErrno(0), 0);
    EXPECT_EQ(SocketErrorFromErrno(EINPROGRESS), WSAEWOULDBLOCK) << "a connect under way counts as started";
    EXPECT_EQ(SocketErrorFromErrno(EPIPE), WSAECONNRESET);
    EXPECT_EQ(SocketErrorFromErrno(ENOTDIR), WSASYSCALLFAILURE) << "a value without a counterpart";
    EXPECT_EQ(LookupErrorFromResolver(0, ECONNREFUSED), 0);
    EXPECT_EQ(LookupErrorFromResolver(EAI_NONAME, 0), WSAHOST_NOT_FOUND);
    EXPECT_EQ(LookupErrorFromResolver(EAI_SYSTEM, ECONNREFUSED), WSAECONNREFUSED)
        << "the errno tells the cause";
    EXPECT_EQ(LookupErrorFromResolver(EAI_FAIL, 0), WSANO_RECOVERY);
}
