#pragma once
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// The QtTest classes of gui_tests; its main runs each in turn.
using TestClassFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestClassFactory>& TestClasses();

// Registers a QtTest class with gui_tests.
#define GUI_TEST(Class)                                           \
  [[maybe_unused]] static const bool kRegistered##Class =         \
      (TestClasses().push_back([] { return std::make_unique<Class>(); }), true)
