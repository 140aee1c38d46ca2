#include "zip_archiver.h"

TZipArchiver::TZipArchiver(QObject* owner)
    : QObject(owner), m_engine(std::make_unique<TZArchiver>(this, this)) {
  m_engine->SetActive(true);
}

TZipArchiver::~TZipArchiver() = default;

void TZipArchiver::SetActive(bool active) {
  m_engine->Props = *this;
  m_engine->SetActive(active);
}

void TZipArchiver::SetZipFileName(const QString& name) {
  m_engine->Props = *this;
  m_engine->SetZipFileName(name);
}

int TZipArchiver::ErrCode() const {
  if (!Active()) return 10109;
  return m_engine->ErrCode() + (m_engine->Reentry() ? 0x4000000 : 0);
}

template <typename Op>
int TZipArchiver::Run(Op op) {
  if (!Active()) return -255;
  if (m_busy || m_engine->Busy()) {
    m_engine->Reentered();
    return -255;
  }
  m_busy = true;
  m_engine->Props = *this;
  int r = op();
  FSpecArgs = m_engine->Props.FSpecArgs;
  FSpecArgsExcl = m_engine->Props.FSpecArgsExcl;
  m_busy = false;
  return r;
}

int TZipArchiver::Add() {
  return Run([this] { return m_engine->Add(); });
}

int TZipArchiver::Extract() {
  return Run([this] { return m_engine->Extract(); });
}
