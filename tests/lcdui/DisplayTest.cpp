// Display, Displayable, Command, Alert and the small lcdui classes: the
// displayable switch and its notifications, event routing, commands and
// their listener, serial calls, and the lock order between a thread that
// switches displayables and a handler that asks for the size.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "HALCallbacks.h"
#include "HALCommand.h"
#include "HALDisplayable.h"
#include "HALEvents.h"
#include "HALWindow.h"
#include "JavaTask.h"
#include "DisplayFixture.h"
#include "JavaTestSupport.h"
#include "VMClassRegistry.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMSynchronized.h"
#include "VMTestEnv.h"
#include "VMThrow.h"
#include "java_lang_Class.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalMonitorStateException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_RuntimeException.h"
#include "java_lang_Thread.h"
#include "javax_microedition_io_ConnectionNotFoundException.h"
#include "javax_microedition_io_PushRegistry.h"
#include "javax_microedition_lcdui_Alert.h"
#include "javax_microedition_lcdui_Display.h"

namespace lcduitest {

using namespace javax::microedition::lcdui;

std::vector<std::string> log;

// A displayable with a window record of its own that logs what reaches it.
class Shown : public Displayable {
  VM_CLASS(Shown, Displayable)

 public:
  VMPtr<Shown> _VM_init(const char* name) {
    Displayable::_VM_init();
    this->name = name;
    HAL_createCanvas(&nativeHandle, eventIdentifier());
    return VMPtr<Shown>(this);
  }
  ~Shown() override { HAL_deleteCanvas(nativeHandle); }
  // Show, hide and key presses run under the event dispatch lock, as a
  // canvas runs its handlers.
  void dispatchShow() override {
    VMSynchronized guard(Display::eventLock());
    if (logging) log.push_back(name + ":show");
    if (onShow) onShow();
  }
  void dispatchHide() override {
    VMSynchronized guard(Display::eventLock());
    if (logging) log.push_back(name + ":hide");
  }
  void dispatchKeyPressed(int32_t key) override {
    VMSynchronized guard(Display::eventLock());
    if (logging) log.push_back(name + ":key " + std::to_string(key));
    if (onKey) onKey();
  }
  void dispatchKeyReleased(int32_t key) override { log.push_back(name + ":up " + std::to_string(key)); }
  void dispatchKeyRepeated(int32_t key) override { log.push_back(name + ":repeat " + std::to_string(key)); }
  void dispatchPointerPressed(int32_t x, int32_t y) override { logPoint("press", x, y); }
  void dispatchPointerReleased(int32_t x, int32_t y) override { logPoint("release", x, y); }
  void dispatchPointerDragged(int32_t x, int32_t y) override { logPoint("drag", x, y); }
  void sizeChanged(int32_t w, int32_t h) override {
    log.push_back(name + ":size " + std::to_string(w) + "x" + std::to_string(h));
  }

  std::string name;
  bool logging = true;
  std::function<void()> onShow;
  std::function<void()> onKey;

 private:
  void logPoint(const char* what, int32_t x, int32_t y) {
    log.push_back(name + ":" + what + " " + std::to_string(x) + "," + std::to_string(y));
  }
};

class Listener : public virtual java::lang::Object, public virtual CommandListener {
  VM_CLASS(Listener, java::lang::Object)

 public:
  VMPtr<Listener> _VM_init(bool throws) {
    Object::_VM_init();
    this->throws = throws;
    return VMPtr<Listener>(this);
  }
  void commandAction(VMPtr<Command> c, VMPtr<Displayable> d) override {
    log.push_back("command " + java_test::show(java_test::text(c->getLabel())) + " on " +
                  dynamic_cast<Shown*>(d.get())->name);
    if (throws) _VM_throwNew<java::lang::RuntimeException>("listener failed");
  }
  bool throws = false;
};

}  // namespace lcduitest

VM_REGISTER_CLASS(lcduitest::Shown, "lcduitest.Shown", "javax.microedition.lcdui.Displayable", 0);
VM_REGISTER_CLASS(lcduitest::Listener, "lcduitest.Listener", "java.lang.Object", 0);
VM_IMPLEMENTS(lcduitest::Listener, "javax.microedition.lcdui.CommandListener");

namespace {

using namespace javax::microedition::lcdui;
using java::lang::String;
using java_test::jstr;
using java_test::thrownMessage;
using lcduitest::log;
using lcduitest::Shown;

class LcduiTest : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    log.clear();
  }
  VMPtr<Shown> shown(const char* name) {
    VMPtr<Shown> d = Shown::_VM_new();
    d->_VM_init(name);
    return d;
  }
  VMPtr<Command> command(const char* label, int32_t type = Command::SCREEN) {
    VMPtr<Command> c = Command::_VM_new();
    c->_VM_init(String::_VM_fromUTF8(label), type, 1);
    return c;
  }
};

using Log = std::vector<std::string>;

TEST_F(LcduiTest, ColoursAndDeviceAnswers) {
  const int32_t expected[] = {0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0xAFAFAF, 0x606060};
  for (int32_t c = 0; c < 6; ++c) EXPECT_EQ(display->getColor(c), expected[c]) << c;
  for (int32_t bad : {-1, 6}) {
    thrownMessage<java::lang::IllegalArgumentException>([&] { display->getColor(bad); });
  }
  EXPECT_TRUE(display->isColor());
  EXPECT_EQ(display->numColors(), 65536);
  EXPECT_EQ(display->numAlphaLevels(), 32);
  EXPECT_TRUE(display->flashBacklight(0));
  EXPECT_FALSE(display->flashBacklight(100));
  EXPECT_FALSE(display->vibrate(100));
  thrownMessage<java::lang::IllegalArgumentException>([&] { display->vibrate(-1); });
  EXPECT_EQ(Display::getDisplay(nullptr).get(), display);
}

TEST_F(LcduiTest, SwitchingNotifiesHideThenShowAndNothingForTheSameDisplayable) {
  VMPtr<Shown> a = shown("a");
  VMPtr<Shown> b = shown("b");
  EXPECT_TRUE(display->getCurrent().isNull());
  display->setCurrent(a);
  display->setCurrent(a);  // already shown: no notification
  EXPECT_EQ(display->getCurrent().get(), a.get());
  EXPECT_TRUE(a->isShown());
  display->setCurrent(b);
  EXPECT_EQ(log, (Log{"a:show", "a:hide", "b:show"}));
  EXPECT_FALSE(a->isShown());
  EXPECT_TRUE(b->isShown());
  display->setCurrent(VMPtr<Displayable>(nullptr));  // only drops the request
  EXPECT_EQ(display->getCurrent().get(), b.get());
  EXPECT_FALSE(display->hasRequest);
}

TEST_F(LcduiTest, BackgroundAndForegroundNotifyOncePerChange) {
  VMPtr<Shown> a = shown("a");
  raise(HAL_EVENT_PAUSE, {});  // nothing current: only the flag
  display->setCurrent(a);       // the switch notifies even in the background
  EXPECT_FALSE(a->isShown());
  raise(HAL_EVENT_PAUSE, {});
  EXPECT_EQ(log, (Log{"a:show"}));
  raise(HAL_EVENT_RESUME, {});
  EXPECT_TRUE(a->isShown());
  raise(HAL_EVENT_PAUSE, {});
  raise(HAL_EVENT_PAUSE, {});
  EXPECT_FALSE(a->isShown());
  raise(HAL_EVENT_RESUME, {});
  raise(HAL_EVENT_RESUME, {});
  EXPECT_EQ(log, (Log{"a:show", "a:show", "a:hide", "a:show"}));
}

TEST_F(LcduiTest, InputGoesToTheCurrentDisplayableAndSizeToTheNamedOne) {
  VMPtr<Shown> a = shown("a");
  VMPtr<Shown> b = shown("b");
  raise(HAL_EVENT_KEY_PRESSED, {49});  // nothing current: ignored
  raise(HAL_EVENT_POINTER_PRESSED, {1, 2});
  EXPECT_TRUE(log.empty());
  display->setCurrent(a);
  log.clear();
  raise(HAL_EVENT_KEY_PRESSED, {-1});
  raise(HAL_EVENT_KEY_REPEATED, {-1});
  raise(HAL_EVENT_KEY_RELEASED, {-1});
  raise(HAL_EVENT_POINTER_PRESSED, {10, 20});
  raise(HAL_EVENT_POINTER_DRAGGED, {11, 21});
  raise(HAL_EVENT_POINTER_RELEASED, {12, 22});
  raise(HAL_EVENT_SIZE_CHANGE, {b->eventIdentifier(), 240, 268});
  raise(HAL_EVENT_EXIT, {});  // not a display event
  raise(14, {});
  EXPECT_EQ(log, (Log{"a:key -1", "a:repeat -1", "a:up -1", "a:press 10,20", "a:drag 11,21", "a:release 12,22",
                      "b:size 240x268"}));
}

TEST_F(LcduiTest, AHandlerThatThrowsStillCompletesTheSwitch) {
  VMPtr<Shown> a = shown("a");
  a->onShow = [] { _VM_throwNew<java::lang::RuntimeException>("show failed"); };
  const intptr_t payload = a->eventIdentifier();
  EXPECT_EQ(HAL_broadcastEvent(HAL_EVENT_SHOW_DISPLAYABLE, 1, &payload), HAL_EVENT_LISTENER_THREW);
  EXPECT_EQ(display->getCurrent().get(), a.get());
  EXPECT_EQ(display->current.get(), a.get());
  EXPECT_TRUE(display->incoming.isNull());
}

TEST_F(LcduiTest, AlertsAndTheDisplayableThatFollows) {
  VMPtr<Shown> a = shown("a");
  VMPtr<Alert> first = Alert::_VM_new();
  first->_VM_init(jstr(u"first"));
  VMPtr<Alert> second = Alert::_VM_new();
  second->_VM_init(jstr(u"second"));
  display->setCurrent(a);
  display->setCurrent(first);
  EXPECT_EQ(first->getNext().get(), a.get());  // the alert returns to what was requested
  EXPECT_EQ(display->requested.get(), first.get());
  thrownMessage<java::lang::IllegalArgumentException>([&] { display->setCurrent(second); });
  display->setCurrent(first);  // the same alert again is no second alert
  thrownMessage<java::lang::NullPointerException>([&] { display->setCurrent(VMPtr<Alert>(), a); });
  thrownMessage<java::lang::NullPointerException>([&] { display->setCurrent(second, VMPtr<Displayable>()); });
  thrownMessage<java::lang::IllegalArgumentException>([&] { display->setCurrent(second, first); });
  display->setCurrent(second, a);
  EXPECT_EQ(second->getNext().get(), a.get());
  EXPECT_EQ(display->requested.get(), second.get());
  // The dismiss command: empty label, type OK, priority 0.
  Alert::_VM_clinitCheck();
  VMPtr<Command> dismiss = Alert::DISMISS_COMMAND;
  EXPECT_EQ(java_test::text(dismiss->getLabel()), u"");
  EXPECT_EQ(dismiss->getCommandType(), Command::OK);
  EXPECT_EQ(dismiss->getPriority(), 0);
  ASSERT_NE(dismiss->nativeId(), nullptr);
  EXPECT_EQ(dismiss->nativeId()->label.length(), 0);
}

TEST_F(LcduiTest, CommandConstructionChecksTypeBeforeLabel) {
  thrownMessage<java::lang::IllegalArgumentException>([] { Command::_VM_new()->_VM_init(jstr(u"Back"), 9, 1); });
  thrownMessage<java::lang::IllegalArgumentException>([] { Command::_VM_new()->_VM_init(VMPtr<String>(), 9, 1); });
  thrownMessage<java::lang::IllegalArgumentException>([] { Command::_VM_new()->_VM_init(jstr(u"Back"), 0, 1); });
  thrownMessage<java::lang::NullPointerException>([] { Command::_VM_new()->_VM_init(VMPtr<String>(), 2, 1); });
  VMPtr<Command> c = Command::_VM_new();
  c->_VM_init(jstr(u"Back"), jstr(u"Go back"), Command::BACK, -7);
  EXPECT_EQ(java_test::text(c->getLabel()), u"Back");
  EXPECT_EQ(java_test::text(c->getLongLabel()), u"Go back");
  EXPECT_EQ(c->getCommandType(), Command::BACK);
  EXPECT_EQ(c->getPriority(), -7);
  EXPECT_EQ(c->nativeId()->label.length(), 4);
  EXPECT_EQ(c->nativeId()->type, Command::BACK);
  EXPECT_EQ(c->nativeId()->priority, -7);
  // The platform record: no characters at all is refused, an empty label is not.
  HALCommand* record = nullptr;
  EXPECT_EQ(HAL_createCommand(&record, nullptr, 0, 1, 0), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_createCommand(&record, u"", 0, 1, 0), HAL_OK);
  EXPECT_EQ(HAL_deleteCommand(record), HAL_OK);
  EXPECT_EQ(HAL_createCommand(nullptr, u"x", 1, 1, 0), HAL_OK);
  EXPECT_EQ(HAL_deleteCommand(nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
}

TEST_F(LcduiTest, CommandArrayKeepsOneEntryEachAndRemovalMovesTheLast) {
  VMPtr<Shown> a = shown("a");
  VMPtr<Command> c[6];
  for (int i = 0; i < 6; ++i) c[i] = command(("c" + std::to_string(i)).c_str());
  thrownMessage<java::lang::NullPointerException>([&] { a->addCommand(VMPtr<Command>()); });
  a->addCommand(c[0]);
  a->addCommand(c[1]);
  a->addCommand(c[2]);
  a->addCommand(c[0]);  // present already
  EXPECT_EQ(a->numCommands, 3);
  EXPECT_EQ(a->commands->length, 4);
  a->removeCommand(c[0]);  // the former third moves to the front
  EXPECT_EQ(a->numCommands, 2);
  EXPECT_EQ(a->commands->get(0).get(), c[2].get());
  EXPECT_EQ(a->commands->get(1).get(), c[1].get());
  EXPECT_TRUE(a->commands->get(2).isNull());
  a->removeCommand(c[0]);  // absent: nothing
  EXPECT_EQ(a->removeCommandEntry(c[5]), -1);
  for (int i = 3; i < 6; ++i) a->addCommand(c[i]);
  EXPECT_EQ(a->numCommands, 5);
  EXPECT_EQ(a->commands->length, 8);  // grown by four, entries kept
  EXPECT_EQ(a->commands->get(0).get(), c[2].get());
  EXPECT_EQ(a->commands->get(4).get(), c[5].get());
}

TEST_F(LcduiTest, ACommandEventReachesTheListenerOfTheCurrentDisplayable) {
  VMPtr<Shown> a = shown("a");
  VMPtr<Command> ok = command("OK", Command::OK);
  VMPtr<Command> back = command("Back", Command::BACK);
  const intptr_t backId = reinterpret_cast<intptr_t>(back->nativeId());
  a->addCommand(ok);
  a->addCommand(back);
  display->setCurrent(a);
  log.clear();
  raise(HAL_EVENT_COMMAND, {backId});  // no listener yet
  VMPtr<lcduitest::Listener> listener = lcduitest::Listener::_VM_new();
  listener->_VM_init(false);
  a->setCommandListener(listener);
  raise(HAL_EVENT_COMMAND, {backId});
  raise(HAL_EVENT_COMMAND, {12345});  // no such command
  listener->throws = true;             // what the listener throws stays with it
  EXPECT_EQ(HAL_broadcastEvent(HAL_EVENT_COMMAND, 1, &backId), 0);
  EXPECT_EQ(log, (Log{"command Back on a", "command Back on a"}));
}

TEST_F(LcduiTest, TitleAndTicker) {
  VMPtr<Shown> a = shown("a");
  EXPECT_TRUE(a->getTitle().isNull());
  a->setTitle(jstr(u"Level 1"));
  VMPtr<String> kept = a->getTitle();
  a->setTitle(jstr(u"Level 1"));  // an equal text keeps the first object
  EXPECT_EQ(a->getTitle().get(), kept.get());
  a->setTitle(VMPtr<String>());
  EXPECT_TRUE(a->getTitle().isNull());
  VMPtr<Ticker> t = Ticker::_VM_new();
  t->_VM_init(jstr(u"news"));
  a->setTicker(t);
  EXPECT_EQ(a->getTicker().get(), t.get());
  a->setTicker(VMPtr<Ticker>());
  EXPECT_TRUE(a->getTicker().isNull());
  thrownMessage<java::lang::NullPointerException>([] { Ticker::_VM_new()->_VM_init(VMPtr<String>()); });
}

TEST_F(LcduiTest, SerialCallsRunOnceLaterUnderTheEventLock) {
  thrownMessage<java::lang::NullPointerException>([&] { display->callSerially(VMPtr<java::lang::Runnable>()); });
  int runs = 0;
  bool heldLock = false;
  VMPtr<java_test::Task> task = java_test::Task::_VM_new();
  task->_VM_init([&] {
    ++runs;
    try {
      Display::eventLock()->notify();  // only the monitor's owner may
      heldLock = true;
    } catch (java::lang::IllegalMonitorStateException*) {
      heldLock = false;
    }
  });
  VMPtr<java_test::Task> failing = java_test::Task::_VM_new();
  failing->_VM_init([] { _VM_throwNew<java::lang::RuntimeException>("task failed"); });
  display->callSerially(failing);
  display->callSerially(task);
  task = nullptr;  // kept alive by the display until it has run
  failing = nullptr;
  _VM_collect();
  EXPECT_EQ(runs, 0);
  HAL_runSerialCalls();
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(heldLock);
  HAL_runSerialCalls();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(Display::pendingSerialCalls->size(), 0);
}

TEST_F(LcduiTest, PushRegistryRefusesAlarms) {
  using javax::microedition::io::PushRegistry;
  EXPECT_EQ(thrownMessage<javax::microedition::io::ConnectionNotFoundException>(
                [] { PushRegistry::registerAlarm(jstr(u"main.CommonMIDlet"), 0); }),
            "not supported");
  thrownMessage<javax::microedition::io::ConnectionNotFoundException>(
      [] { PushRegistry::registerAlarm(VMPtr<String>(), -1); });
}

TEST_F(LcduiTest, RegistrationsAndTheirSuperclasses) {
  const struct {
    const char* name;
    const char* super;
  } table[] = {
      {"javax.microedition.lcdui.CommandListener", nullptr},
      {"javax.microedition.lcdui.Screen", "javax.microedition.lcdui.Displayable"},
      {"javax.microedition.io.PushRegistry", "java.lang.Object"},
      {"javax.microedition.lcdui.Alert", "javax.microedition.lcdui.Screen"},
      {"javax.microedition.lcdui.DefaultAlertListener", "java.lang.Object"},
      {"javax.microedition.lcdui.Command", "java.lang.Object"},
      {"javax.microedition.lcdui.Display", "java.lang.Object"},
      {"javax.microedition.lcdui.Displayable", "java.lang.Object"},
  };
  for (const auto& row : table) {
    VMPtr<java::lang::Class> c = java::lang::Class::forName(String::_VM_fromUTF8(row.name));
    ASSERT_FALSE(c.isNull()) << row.name;
    if (row.super == nullptr) {
      EXPECT_TRUE(c->isInterface()) << row.name;
    } else {
      java::lang::Class* super = _VM_getSuperclass(c.get());
      ASSERT_NE(super, nullptr) << row.name;
      EXPECT_STREQ(super->_VM_name.c_str(), row.super) << row.name;
    }
  }
}

// Two threads switch among three displayables at once: the switches run one
// after the other, so the notifications alternate between a show and the
// hide of that same displayable, and the one shown last is current.
TEST_F(LcduiTest, SwitchesFromTwoThreadsHideEveryDisplayableTheyShowed) {
  alarm(60);  // a deadlock ends the test instead of hanging it
  VMPtr<Shown> all[] = {shown("a"), shown("b"), shown("c")};
  for (VMPtr<Shown>& d : all) d->onShow = [] { java::lang::Thread::sleep(1); };  // lets the other thread in
  auto switcher = [&](int step) {
    return java_test::startThread([&all, step] {
      VMPtr<Display> d = Display::getDisplay(nullptr);
      for (int i = 0; i < 100; ++i) d->setCurrent(all[i * step % 3]);
    });
  };
  VMPtr<java::lang::Thread> forwards = switcher(1);
  VMPtr<java::lang::Thread> backwards = switcher(2);
  while (forwards->isAlive() || backwards->isAlive()) java::lang::Thread::sleep(1);
  backwards = nullptr;  // joined with the other one
  EXPECT_TRUE(java_test::joinThread(forwards));
  alarm(0);
  std::string shownNow;  // empty: nothing shown
  for (const std::string& entry : log) {
    const std::string name = entry.substr(0, 1);
    if (entry.ends_with(":hide")) {
      ASSERT_EQ(name, shownNow) << "a hide of what is not shown";
      shownNow.clear();
    } else {
      ASSERT_EQ(shownNow, "") << entry << " while " << shownNow << " was still shown";
      shownNow = name;
    }
  }
  ASSERT_NE(display->getCurrent().get(), nullptr);
  EXPECT_EQ(dynamic_cast<Shown*>(display->getCurrent().get())->name, shownNow);
}

// A displayable without a window record of its own (an Alert, any Screen)
// is as large as the main window's client area.
TEST_F(LcduiTest, AnAlertIsAsLargeAsTheWindowsClientArea) {
  ASSERT_EQ(HAL_createWindow(nullptr, u"lcdui-test", HAL_classWindowProc), 1);
  ce::MoveWindow(HAL_getMainWindow(), 0, 26, 240, 268, ce::FALSE);
  VMPtr<Alert> alert = Alert::_VM_new();
  alert->_VM_init(jstr(u"note"));
  EXPECT_EQ(alert->getWidth(), 240);
  EXPECT_EQ(alert->getHeight(), 268);
}

// A thread that switches displayables while the main thread's key handler,
// inside the event dispatch lock, asks for the size (state lock): the two
// locks are taken in both orders and must not deadlock.
TEST_F(LcduiTest, SwitchingFromAThreadWhileAHandlerAsksForTheSizeDoesNotDeadlock) {
  alarm(60);  // a deadlock ends the test instead of hanging it
  VMPtr<Shown> a = shown("a");
  VMPtr<Shown> b = shown("b");
  auto yieldThenSize = [](Shown* d) {
    return [d] {
      java::lang::Thread::sleep(1);  // let the switching thread run here
      d->getWidth();
    };
  };
  a->onKey = yieldThenSize(a.get());
  b->onKey = yieldThenSize(b.get());
  a->onShow = [] { java::lang::Thread::sleep(1); };
  a->logging = b->logging = false;
  display->setCurrent(a);
  int switches = 0;
  VMPtr<java::lang::Thread> switcher = java_test::startThread([&] {
    VMPtr<Display> d = Display::getDisplay(nullptr);
    for (int i = 0; i < 100; ++i) {
      d->setCurrent(b);
      d->setCurrent(a);
      ++switches;
    }
  });
  int presses = 0;
  while (switcher->isAlive()) {
    raise(HAL_EVENT_KEY_PRESSED, {49});
    ++presses;
    java::lang::Thread::sleep(1);
  }
  EXPECT_EQ(switches, 100);
  EXPECT_GT(presses, 0);
  EXPECT_TRUE(java_test::joinThread(switcher));
  alarm(0);
  EXPECT_EQ(display->getCurrent().get(), a.get());
}

}  // namespace
