// A loadable library that is not a component: it has neither entry point.
extern "C" int velloranNotAComponent() { return 1; }
