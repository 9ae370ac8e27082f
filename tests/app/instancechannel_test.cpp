// The channel between a second start and the running copy, both ends in this process.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "app/instancechannel.h"

namespace {

TEST(InstanceChannel, SecondStartReachesTheRunningCopyOfItsDirectoryOnly) {
    QTemporaryDir directory;
    QTemporaryDir otherDirectory;
    InstanceChannel second(directory.path());
    // Nobody listens yet: the request fails instead of hanging.
    EXPECT_FALSE(second.requestActivation(200));

    InstanceChannel running(directory.path());
    InstanceChannel other(otherDirectory.path());
    ASSERT_TRUE(running.listen());
    ASSERT_TRUE(other.listen());
    QSignalSpy raised(&running, &InstanceChannel::activationRequested);
    QSignalSpy otherRaised(&other, &InstanceChannel::activationRequested);

    EXPECT_TRUE(second.requestActivation());
    ASSERT_TRUE(raised.wait(5000));
    EXPECT_TRUE(second.requestActivation());
    ASSERT_TRUE(raised.wait(5000));
    EXPECT_EQ(raised.count(), 2);
    EXPECT_EQ(otherRaised.count(), 0);
}

// A copy that died leaves its socket file behind; the next copy, holding the lock, takes the
// name over.
TEST(InstanceChannel, SocketOfACopyThatDiedIsReplaced) {
    QTemporaryDir directory;
    QFile left(QDir(QDir::tempPath()).filePath(InstanceChannel::serverName(directory.path())));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    InstanceChannel running(directory.path());
    EXPECT_TRUE(running.listen());
    QSignalSpy raised(&running, &InstanceChannel::activationRequested);
    EXPECT_TRUE(InstanceChannel(directory.path()).requestActivation());
    EXPECT_TRUE(raised.wait(5000));
}

}  // namespace
