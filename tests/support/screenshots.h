#pragma once
// Pictures of windows for anyone to look at, written as PNG files into
// build/screenshots (or the folder in TAVEL_SCREENSHOT_DIR).

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

inline QString ScreenshotFolder()
{
    const QString env = qEnvironmentVariable("TAVEL_SCREENSHOT_DIR");
    const QString folder = env.isEmpty() ? QStringLiteral(TAVEL_BIN_DIR "/../screenshots") : env;
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

// Saves the widget's picture as `name` and checks it is a real picture of the widget's size.
inline void SaveScreenshot(QWidget &w, const QString &name)
{
    QApplication::processEvents();
    const QImage image = w.grab().toImage();
    ASSERT_FALSE(image.isNull()) << name.toStdString();
    EXPECT_EQ(image.size(), w.size()) << name.toStdString();
    const QString path = ScreenshotFolder() + QLatin1Char('/') + name;
    EXPECT_TRUE(image.save(path)) << path.toStdString();
}
