#include "platform/ui/AVCaptureDevice.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "platform/core/ProcessState.h"
#include "platform/dispatch/GlobalQueue.h"

namespace trc::ui {
namespace {

class CameraPermission : public ::testing::Test {
protected:
    void SetUp() override { core::ProcessState::resetAll(); }
    void TearDown() override { core::ProcessState::resetAll(); }
    using Device = AVCaptureDevice;
    // What each answer said, and whether it came on a thread other than the asker's.
    std::vector<std::pair<bool, bool>> answers;
    std::mutex mutex;
    void request() {
        Device::requestAccess(AVMediaType::Video, [this, main = std::this_thread::get_id()](bool granted) {
            std::lock_guard<std::mutex> lock(mutex);
            answers.emplace_back(granted, std::this_thread::get_id() != main);
        });
    }
    void quiet() { ASSERT_TRUE(dispatch::GlobalQueue::shared().waitUntilIdle(10)); }
};

TEST_F(CameraPermission, ARequestWaitsForThePersonThenLaterOnesAreAnsweredAtOnce) {
    EXPECT_EQ(Device::authorizationStatus(AVMediaType::Video), AVAuthorizationStatus::NotDetermined);
    request();
    request();
    quiet();
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(Device::pendingAccessRequests(), 2u);

    EXPECT_TRUE(Device::answerAccessRequests(false));
    EXPECT_FALSE(Device::answerAccessRequests(true)) << "the prompt was answered already";
    quiet();
    EXPECT_EQ(answers, (std::vector<std::pair<bool, bool>>{{false, true}, {false, true}}));
    EXPECT_EQ(Device::authorizationStatus(AVMediaType::Video), AVAuthorizationStatus::Denied);

    Device::setAuthorizationStatus(AVMediaType::Video, AVAuthorizationStatus::Authorized);
    request();
    quiet();
    EXPECT_EQ(answers.back(), std::make_pair(true, true));
    EXPECT_EQ(Device::pendingAccessRequests(), 0u);
}

}  // namespace
}  // namespace trc::ui
