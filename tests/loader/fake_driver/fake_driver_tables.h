// The dispatch tables the fake driver hands out (fake_driver.h describes
// them). Their recording entries keep the last call each thread made.
#pragma once

#include "core/dispatch.h"
#include "tests/loader/fake_driver/fake_driver.h"

// Table `table`, below FAKE_TABLES.
const GlDispatchState *FakeTable(unsigned table);
