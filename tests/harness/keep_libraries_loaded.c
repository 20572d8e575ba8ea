// Preloaded (LD_PRELOAD) into the programs that the end-to-end tests start in
// the sanitizer build. dlclose() does nothing, so every library stays mapped
// until the process ends and LeakSanitizer's report at exit can name the
// library of each frame. Without it the GL driver, which libglvnd loads with
// dlopen() and unloads again when the display is closed, shows up as
// "<unknown module>", and its leaks cannot be told apart from the editor's.
//
// AddressSanitizer's runtime is linked into the executables, so its own
// dlclose() interceptor comes first and passes the call on to this one.

int dlclose(void* handle)
{
    (void)handle;
    return 0;
}
