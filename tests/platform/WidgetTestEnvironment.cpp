// Gives widget tests a QApplication on the offscreen platform, with the
// home directory, the settings store, the desktop-entry folder and the
// thumbnail cache's folder redirected into a temporary directory so no test
// touches the user's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

namespace {

class WidgetEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", (m_home->path() + "/config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", (m_home->path() + "/data").toLocal8Bit());
        qputenv("XDG_CACHE_HOME", (m_home->path() + "/cache").toLocal8Bit());
        qputenv("HOME", m_home->path().toLocal8Bit());
        static int argc = 1;
        static char name[] = "pixmoor-test";
        static char* argv[] = { name, nullptr };
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override
    {
        m_app.reset();
        m_home.reset();
    }

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QApplication> m_app;
};

const ::testing::Environment* const g_widgetEnvironment =
    ::testing::AddGlobalTestEnvironment(new WidgetEnvironment);

}  // namespace
