#pragma once
// The class that the test component library serves.
#define TEST_COMPONENT_CLASS_ID "{0D15EA5E-0000-4000-8000-00000000C0DE}"
#define TEST_COMPONENT_PROG_ID "Velloran.TestObject"
