#pragma once

#include "ui/chat/ChatHost.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>

/// The main window as the chat window sees it: a plain window that follows, and a record of
/// the lines handed over and of the task-bar requests.
class StandInHost final : public ChatHost
{
public:
    StandInHost();

    QWidget *FollowingWindow() override { return &main; }
    void QueueLine(const QByteArray &line) override { lines.append(line); }
    void HideTaskbarButton() override { ++taskbarHidden; }

    QWidget main;
    QList<QByteArray> lines;
    int taskbarHidden = 0;
};

/// A file for test output (pictures, saved transcripts) under the build folder.
QString testOutputPath(const QString &name);
