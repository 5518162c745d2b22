#include <gtest/gtest.h>

#include "FreshSandboxTest.h"
#include "platform/core/Base64.h"
#include "services/DataServiceUtils.h"
#include "testsupport/DataServiceUtilsSeam.h"

using namespace trc;
using services::DataServiceUtils;
using services::DataServiceUtilsSeam;

class OfflineStoreKey : public trc::testing::FreshSandboxTest {};

TEST_F(OfflineStoreKey, Is32RandomBytesInBase64) {
    auto key = DataServiceUtils::generateOfflineStoreEncryptionKey();
    ASSERT_TRUE(key);
    EXPECT_EQ(key->size(), 44u);
    auto bytes = core::Base64::decode(*key);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 32u);
    EXPECT_NE(DataServiceUtils::generateOfflineStoreEncryptionKey(), key);
}

TEST_F(OfflineStoreKey, UsesTheInjectedSource) {
    DataServiceUtilsSeam::setRandomSource([](std::uint8_t* b, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i);
        return true;
    });
    EXPECT_EQ(DataServiceUtils::generateOfflineStoreEncryptionKey(), "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8=");
}

TEST_F(OfflineStoreKey, NothingWhenTheSourceFailsOrThrows) {
    DataServiceUtilsSeam::setRandomSource([](std::uint8_t*, std::size_t) { return false; });
    EXPECT_EQ(DataServiceUtils::generateOfflineStoreEncryptionKey(), std::nullopt);
    DataServiceUtilsSeam::setRandomSource([](std::uint8_t*, std::size_t) -> bool { throw std::runtime_error("gone"); });
    EXPECT_EQ(DataServiceUtils::generateOfflineStoreEncryptionKey(), std::nullopt);
}

TEST_F(OfflineStoreKey, ResetRestoresTheSystemSource) {
    DataServiceUtilsSeam::setRandomSource([](std::uint8_t*, std::size_t) { return false; });
    relaunch();
    EXPECT_TRUE(DataServiceUtils::generateOfflineStoreEncryptionKey());
}
