# The resource test reads the program's own pictures, so its executable carries them too.
target_sources(test_resources PRIVATE $<TARGET_OBJECTS:xpv_resources>)
