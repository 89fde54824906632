// A test library without the plug-in export.
extern "C" __attribute__((visibility("default"))) int NotAPlugin() {
    return 1;
}
