#include "engine/DeferredEvent.h"

DeferredEvent::DeferredEvent(Number number, int first, quint64 second, QByteArray text)
    : QEvent(static_cast<QEvent::Type>(number)), m_first(first), m_second(second),
      m_text(std::move(text))
{}

DeferredEvent::~DeferredEvent() = default;
