#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Tárgyi eszk. Immat javak"));
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Tárgyi eszk. Immat javak"));
  window.resize(706, 498);
  window.show();
  return app.exec();
}
