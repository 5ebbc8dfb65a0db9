// The engine tests' fixture classes and this program's own.
#include "../engine/EngineFixture.cpp"
