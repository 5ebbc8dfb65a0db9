// The engine tests' fixture classes, registered in this program too.
#include "../engine/EngineFixture.cpp"
