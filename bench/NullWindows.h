#pragma once

#include "engine/EngineWindows.h"

/// Windows that show nothing: the benchmarks measure the engine, not the screen.
class NullWindows final : public EngineWindows
{
public:
    void showChatWindow() override {}
    void AddMessage(const QByteArray &, const QByteArray &, quint32, quint32, bool) override {}
    void attention() override {}
    bool messageBox(Box, const QByteArray &) override { return false; }
    void giveFocus(Focus) override {}
    void clearSendEdit() override {}
    void bringToFront() override {}
    void showAboutFirstRun() override {}
};
