/* Entry point of the version fixtures: images that exist only to carry a version resource. */
int __stdcall DllMainCRTStartup(void* instance, unsigned long reason, void* reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return 1;
}
