// The MIDlet state table, the application manager's start of "MIDlet-1"
// and its lifecycle listeners, notifyDestroyed and platformRequest.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HALEvents.h"
#include "HALExitURL.h"
#include "HALProperties.h"
#include "HALString.h"
#include "JavaTestSupport.h"
#include "VMTestEnv.h"
#include "com_ravelstone_brume_AMS.h"
#include "java_lang_ClassNotFoundException.h"
#include "java_lang_InstantiationException.h"
#include "java_lang_NullPointerException.h"

namespace amstest {

using javax::microedition::midlet::MIDlet;

// Writes every lifecycle call into a log.
class LoggingMIDlet : public MIDlet {
  VM_CLASS(LoggingMIDlet, MIDlet)

 public:
  VMPtr<LoggingMIDlet> _VM_init() {
    MIDlet::_VM_init();
    return VMPtr<LoggingMIDlet>(this);
  }
  void startApp() override { log.push_back("start:" + std::to_string(state)); }
  void pauseApp() override { log.push_back("pause:" + std::to_string(state)); }
  void destroyApp(uint8_t unconditional) override {
    log.push_back("destroy:" + std::to_string(state) + (unconditional ? "!" : ""));
  }
  static inline std::vector<std::string> log;
};

class NotAMIDlet : public virtual java::lang::Object {
  VM_CLASS(NotAMIDlet, java::lang::Object)

 public:
  VMPtr<NotAMIDlet> _VM_init() {
    Object::_VM_init();
    return VMPtr<NotAMIDlet>(this);
  }
};

}  // namespace amstest

VM_REGISTER_CLASS(amstest::LoggingMIDlet, "amstest.LoggingMIDlet", "javax.microedition.midlet.MIDlet",
                  VM_INSTANTIABLE);
VM_REGISTER_CLASS(amstest::NotAMIDlet, "amstest.NotAMIDlet", "java.lang.Object", VM_INSTANTIABLE);

namespace {

using amstest::LoggingMIDlet;
using com::ravelstone::brume::AMS;
using java::lang::String;
using java_test::jstr;
using java_test::text;
using javax::microedition::midlet::MIDlet;

void setMIDlet1(const std::string& value) {
  HAL_freeProperties();
  const std::string line = "MIDlet-1: " + value + "\n";
  HAL_addPropertiesText(HAL_APPLICATION_PROPERTIES, reinterpret_cast<const uint8_t*>(line.data()), line.size());
}

// A test VM with the event registry that VM start-up would make.
void startVM() {
  VMTestEnv::start();
  HAL_createEventRegistry();
}

std::vector<uint32_t> posted;
bool recordPost(uint32_t message, uintptr_t, intptr_t) {
  posted.push_back(message);
  return true;
}

TEST(MIDlet, StateTable) {
  startVM();
  // accepted[from][to]
  const char* accepted[7] = {
      "1111011",  // paused: not to pausing
      "1100111",  // active: not to constructed or starting
      "1111011",  // constructed: not to pausing
      "1111111",  // starting
      "1111111",  // pausing
      "0000001",  // destroying: only to destroyed
      "0000000",  // destroyed
  };
  VMPtr<LoggingMIDlet> m = LoggingMIDlet::_VM_new();
  m->_VM_init();
  EXPECT_EQ(m->state, MIDlet::kConstructed);
  for (int32_t from = 0; from < 7; ++from) {
    for (int32_t to = 0; to < 7; ++to) {
      m->state = from;
      const uint8_t result = m->setState(to);
      EXPECT_EQ(result, accepted[from][to] == '1') << from << " -> " << to;
      EXPECT_EQ(m->state, result ? to : from);
    }
    m->state = from;
    EXPECT_EQ(m->setState(7), 0);
    EXPECT_EQ(m->setState(-1), 0);
  }
}

TEST(AMS, ClassNameIsTheTrimmedThirdPart) {
  startVM();
  const struct {
    const char* value;
    const char* name;
  } cases[] = {
      {"Game, /icon.png, main.CommonMIDlet", "main.CommonMIDlet"},
      {"Game,,  main.CommonMIDlet \t", "main.CommonMIDlet"},
      {"Game, main.CommonMIDlet", "Game, main.CommonMIDlet"},  // one comma: the whole value
      {" main.CommonMIDlet ", "main.CommonMIDlet"},
      {"a,b,c,d", "c,d"},
      {"Game, icon,", ""},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(AMS::_VM_className(String::_VM_fromUTF8(c.value))->_VM_equals(c.name)) << c.value;
  }
}

TEST(AMS, StartsTheMIDletAndFollowsTheLifecycleEvents) {
  startVM();
  setMIDlet1("Test, /icon.png,  amstest.LoggingMIDlet ");
  ASSERT_EQ(AMS::startMIDlet(1), 1);
  VMPtr<MIDlet> m = AMS::midlet;
  ASSERT_FALSE(m.isNull());
  EXPECT_EQ(m->state, MIDlet::kActive);
  HAL_broadcastEvent(HAL_EVENT_RESUME, 0, nullptr);  // active: nothing
  HAL_broadcastEvent(HAL_EVENT_PAUSE, 0, nullptr);
  HAL_broadcastEvent(HAL_EVENT_PAUSE, 0, nullptr);   // paused already: nothing
  EXPECT_EQ(m->state, MIDlet::kPaused);
  HAL_broadcastEvent(HAL_EVENT_RESUME, 0, nullptr);
  HAL_broadcastEvent(HAL_EVENT_EXIT, 0, nullptr);
  HAL_broadcastEvent(HAL_EVENT_EXIT, 0, nullptr);
  EXPECT_EQ(m->state, MIDlet::kDestroyed);
  const std::vector<std::string> expected = {"start:3", "pause:4", "start:3", "destroy:5!"};
  EXPECT_EQ(LoggingMIDlet::log, expected);
}

TEST(AMS, NotifyDestroyedPostsTheExitAndSkipsDestroyApp) {
  startVM();
  HAL_setMainWindowPoster(recordPost);
  setMIDlet1("T, I, amstest.LoggingMIDlet");
  ASSERT_EQ(AMS::startMIDlet(1), 1);
  VMPtr<MIDlet> m = AMS::midlet;
  m->notifyDestroyed();
  EXPECT_EQ(posted, std::vector<uint32_t>{HAL_EXIT_MESSAGE});
  HAL_broadcastEvent(HAL_EVENT_EXIT, 0, nullptr);
  EXPECT_EQ(LoggingMIDlet::log, std::vector<std::string>{"start:3"});
  HAL_setMainWindowPoster(nullptr);
}

TEST(AMS, MissingOrWrongClassesFail) {
  startVM();
  HAL_freeProperties();
  EXPECT_EQ(AMS::startMIDlet(1), 0);
  setMIDlet1("Game, icon,  ");
  EXPECT_EQ(AMS::startMIDlet(1), 0);
  setMIDlet1("Game, amstest.LoggingMIDlet");  // one comma: "Game, amstest..." is no class
  EXPECT_THROW(AMS::startMIDlet(1), java::lang::ClassNotFoundException*);
  setMIDlet1("Game, icon, amstest.NotAMIDlet");
  try {
    AMS::startMIDlet(1);
    FAIL();
  } catch (java::lang::InstantiationException* e) {
    VMPtr<java::lang::Throwable> held(e);
    EXPECT_TRUE(e->getMessage()->_VM_equals("Class not a MIDlet"));
  }
  EXPECT_TRUE(AMS::midlet.isNull());
  // Nothing happens on events without a MIDlet.
  HAL_broadcastEvent(HAL_EVENT_PAUSE, 0, nullptr);
  HAL_broadcastEvent(HAL_EVENT_EXIT, 0, nullptr);
  EXPECT_TRUE(LoggingMIDlet::log.empty());
}

TEST(AMSDeathTest, MainWithoutMIDletIsFatal) {
  EXPECT_EXIT(
      {
        startVM();
        HAL_freeProperties();
        AMS::main(VMPtr<VMArray<String>>());
      },
      testing::ExitedWithCode(1), "");
}

TEST(AMS, GetAppProperty) {
  startVM();
  setMIDlet1("A, B, C");
  EXPECT_EQ(text(AMS::getAppProperty(jstr(u"MIDlet-1"))), u"A, B, C");
  EXPECT_TRUE(AMS::getAppProperty(jstr(u"MIDlet-2")).isNull());
  EXPECT_THROW(AMS::getAppProperty(VMPtr<String>()), java::lang::NullPointerException*);
  VMPtr<LoggingMIDlet> m = LoggingMIDlet::_VM_new();
  m->_VM_init();
  EXPECT_EQ(text(m->getAppProperty(jstr(u"MIDlet-1"))), u"A, B, C");
}

TEST(MIDlet, PlatformRequestKeepsTheURLForTheExit) {
  startVM();
  VMPtr<LoggingMIDlet> m = LoggingMIDlet::_VM_new();
  m->_VM_init();
  EXPECT_THROW(m->platformRequest(VMPtr<String>()), java::lang::NullPointerException*);
  EXPECT_EQ(m->platformRequest(jstr(u"tel:123")), 1);
  EXPECT_EQ(m->platformRequest(jstr(u"http://example.com/\u00e9")), 1);  // a later one replaces it
  static std::string launched;
  HAL_setBrowserLauncher([](const char* url) {
    launched = url;
    return true;
  });
  HAL_launchExitURL();
  EXPECT_EQ(launched, "http://example.com/\xc3\xa9");
  EXPECT_EQ(HAL_getExitURL(), nullptr);
  launched.clear();
  EXPECT_EQ(m->platformRequest(jstr(u"")), 1);  // an empty URL opens nothing
  HAL_launchExitURL();
  EXPECT_EQ(launched, "");
}

}  // namespace
