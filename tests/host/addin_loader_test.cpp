// The add-in loader in-process, with the test add-ins: what a good add-in
// registers, how each kind of failure is reported by name, how a failed
// add-in is undone, and the order of the end.
#include "host/addin_loader.h"
#include "host/tool_services.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace wt;

namespace {

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        log_ = dir_.filePath("fake.log");
        setenv("FAKE_ADDIN_LOG", log_.toLocal8Bit().constData(), 1);
        for (const char* name : {"FAKE_ADDIN_ENTRY", "FAKE_ADDIN_NOTIFY", "FAKE_ADDIN_EXECUTE",
                                 "FAKE_ADDIN_MENU", "FAKE_ADDIN_STATE"})
            unsetenv(name);
    }
    void TearDown() override { unsetenv("FAKE_ADDIN_LOG"); }

    QStringList Log() const {
        QFile file(log_);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    QStringList reports_;
    HostToolServices services_{HostToolServices::Hooks{
        [] { return uintptr_t{77}; },
        [] { return QString("/p/Project1.dpr"); },
        [this](const QString& message) { reports_.append(message); },
    }};
    QTemporaryDir dir_;
    QString log_;
};

} // namespace

TEST_F(LoaderTest, AGoodAddInRegistersItsExpertAndNotifierAndEndsInOrder) {
    setenv("FAKE_ADDIN_MENU", "Probe Entry", 1);
    {
        AddInLoader loader(services_, [this](const QString& m) { reports_.append(m); });
        ASSERT_TRUE(loader.Load(FAKE_ADDIN_PATH)) << reports_.join('\n').toStdString();
        EXPECT_TRUE(reports_.isEmpty());
        ASSERT_EQ(loader.Experts().size(), 1u);
        EXPECT_STREQ(loader.Experts()[0].Expert->GetMenuText(), "Probe Entry");
        EXPECT_EQ(loader.Experts()[0].AddInName, FAKE_ADDIN_PATH);
        EXPECT_EQ(services_.NotifierCount(), 1u);

        EXPECT_FALSE(loader.Load(FAKE_ADDIN_PATH));
        EXPECT_TRUE(reports_.last().contains("loaded already"));
        EXPECT_EQ(loader.Experts().size(), 1u);

        services_.Broadcast(fnProjectClosing, "/p/Project1.dpr");
        loader.Shutdown();
        EXPECT_TRUE(loader.Experts().empty());
        // Nothing reaches an add-in after the end began.
        services_.Broadcast(fnProjectClosing, "/p/Project1.dpr");
        EXPECT_FALSE(loader.Load(FAKE_ADDIN_PATH));
    }
    EXPECT_EQ(Log(),
              (QStringList{"entry owner=1", "notify 5 /p/Project1.dpr project=/p/Project1.dpr",
                           "terminate", "notifier destroyed", "expert destroyed"}));
}

TEST_F(LoaderTest, LibrariesThatCannotBeLoadedAreNamedWithTheLoadersMessage) {
    AddInLoader loader(services_, [this](const QString& m) { reports_.append(m); });
    const QString missing = dir_.filePath("libnothing.so");
    EXPECT_FALSE(loader.Load(missing));
    QFile garbage(dir_.filePath("libgarbage.so"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a library");
    garbage.close();
    EXPECT_FALSE(loader.Load(garbage.fileName()));
    EXPECT_FALSE(loader.Load(NO_ENTRY_ADDIN_PATH));
    EXPECT_FALSE(loader.Load(NEEDS_MISSING_ADDIN_PATH));
    ASSERT_EQ(reports_.size(), 4);
    EXPECT_TRUE(reports_[0].contains(missing));
    EXPECT_TRUE(reports_[0].contains("No such file or directory")) << reports_[0].toStdString();
    EXPECT_TRUE(reports_[1].contains(garbage.fileName()));
    EXPECT_TRUE(reports_[2].contains(NO_ENTRY_ADDIN_PATH));
    EXPECT_TRUE(reports_[2].contains("INITEXPERT0016"));
    EXPECT_TRUE(reports_[2].contains("undefined symbol")) << reports_[2].toStdString();
    EXPECT_TRUE(reports_[3].contains(NEEDS_MISSING_ADDIN_PATH));
    EXPECT_TRUE(reports_[3].contains("libwt_missing_dependency.so")) << reports_[3].toStdString();
    EXPECT_TRUE(loader.Experts().empty());
    EXPECT_TRUE(loader.LoadedAddIns().isEmpty());
}

TEST_F(LoaderTest, AnEntryAnsweringFalseLeavesNothingBehind) {
    setenv("FAKE_ADDIN_ENTRY", "false", 1);
    AddInLoader loader(services_, [this](const QString& m) { reports_.append(m); });
    EXPECT_FALSE(loader.Load(FAKE_ADDIN_PATH));
    ASSERT_EQ(reports_.size(), 1);
    EXPECT_TRUE(reports_[0].contains(FAKE_ADDIN_PATH));
    EXPECT_TRUE(reports_[0].contains("refused to start"));
    EXPECT_TRUE(loader.Experts().empty());
    loader.Shutdown();
    EXPECT_EQ(Log(), QStringList{"entry owner=1"});
}

TEST_F(LoaderTest, AnEntryThatThrowsIsReportedAndUndone) {
    setenv("FAKE_ADDIN_ENTRY", "throw", 1);
    AddInLoader loader(services_, [this](const QString& m) { reports_.append(m); });
    EXPECT_FALSE(loader.Load(FAKE_ADDIN_PATH));
    ASSERT_EQ(reports_.size(), 1);
    EXPECT_TRUE(reports_[0].contains(FAKE_ADDIN_PATH));
    EXPECT_TRUE(reports_[0].contains("fake entry failure"));
    EXPECT_TRUE(loader.Experts().empty());
    EXPECT_EQ(services_.NotifierCount(), 0u);
    EXPECT_EQ(Log(), (QStringList{"entry owner=1", "terminate", "notifier destroyed",
                                  "expert destroyed"}));
    // Once undone, the add-in is not ended a second time.
    loader.Shutdown();
    EXPECT_EQ(Log().size(), 4);
}

TEST_F(LoaderTest, AReportDuringTheEntryReachesTheHost) {
    setenv("FAKE_ADDIN_ENTRY", "report", 1);
    AddInLoader loader(services_, [this](const QString& m) { reports_.append(m); });
    EXPECT_TRUE(loader.Load(FAKE_ADDIN_PATH));
    EXPECT_EQ(reports_, QStringList{"fake entry report"});
}
