# Tests that write Wine's registry take turns with each other (both architectures share a prefix).
set_tests_properties(${XPV_ARCH}.registry_mod PROPERTIES RESOURCE_LOCK registry)
