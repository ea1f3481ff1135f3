// Runs every QtTest class of the window, or only the one named first:
//   gui_tests [CLASS] [QtTest options and functions]
// The exit code is 0 when all passed.
#include <QApplication>
#include <QTest>
#include <cstring>

#include "gui/gui_tests.h"

std::vector<TestClassFactory>& TestClasses() {
  static std::vector<TestClassFactory> classes;
  return classes;
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::vector<char*> args(argv, argv + argc);
  const char* only = nullptr;
  if (argc > 1 && argv[1][0] != '-') {
    for (const auto& make : TestClasses()) {
      if (std::strcmp(make()->metaObject()->className(), argv[1]) == 0) only = argv[1];
    }
    if (only) args.erase(args.begin() + 1);
  }
  int failed = 0;
  for (const auto& make : TestClasses()) {
    const std::unique_ptr<QObject> test = make();
    if (only && std::strcmp(test->metaObject()->className(), only) != 0) continue;
    failed += QTest::qExec(test.get(), static_cast<int>(args.size()), args.data());
  }
  return failed == 0 ? 0 : 1;
}
