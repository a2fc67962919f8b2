#pragma once

#include "engine/EngineWindows.h"

/// Windows that show nothing: the benchmarks measure the engine, not the screen.
class NullWindows final : public EngineWindows
{
public:
    void ShowChatWindow() override {}
    void AddMessage(const QByteArray &, const QByteArray &, quint32, quint32, bool) override {}
    void Attention() override {}
    bool MessageBox(Box, const QByteArray &) override { return false; }
    void GiveFocus(Focus) override {}
    void ClearSendEdit() override {}
    void BringToFront() override {}
    void ShowAboutFirstRun() override {}
};
