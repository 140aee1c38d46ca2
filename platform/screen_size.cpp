#include "screen_size.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
QSize g_fake;  // invalid: the real screen
}

QSize ScreenSize() {
  if (g_fake.isValid()) return g_fake;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->geometry().size();
  return QSize(800, 600);
}

FakeScreenSize::FakeScreenSize(QSize size) : m_previous(g_fake) { g_fake = size; }

FakeScreenSize::~FakeScreenSize() { g_fake = m_previous; }
