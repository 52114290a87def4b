/* Preloaded into 32-bit Wine when it runs under qemu-i386 (user-mode emulation), and only
 * there: qemu 7.2 takes MAP_FIXED_NOREPLACE as a hint and maps somewhere else when the address
 * is taken, where the kernel fails with EEXIST. Wine relies on the kernel's answer to lay out
 * its address space ("failed to map the shared user data"). This gives it that answer.
 *
 * Built with -m32 -nostdlib: nothing of a 32-bit C library's headers is needed, the libc that
 * the process loads anyway provides syscall() and errno. */
typedef unsigned int size_t;
typedef long long off64_t;

extern long syscall(long number, ...);
extern int *__errno_location(void);

enum {
    kMapFixedNoReplace = 0x100000,
    kErrorExists = 17,
    kErrorInvalid = 22,
    kSysMunmap = 91,  /* i386 system call numbers */
    kSysMmap2 = 192,
};

static void *Fail(int error) {
    *__errno_location() = error;
    return (void *)-1;
}

static void *MapPages(void *address, size_t length, int protection, int flags, int fd, off64_t offset) {
    /* mmap2 counts the offset in 4096-byte pages. */
    if (offset & 4095) return Fail(kErrorInvalid);
    return (void *)syscall(kSysMmap2, address, length, protection, flags, fd, (unsigned long)(offset >> 12));
}

static void *Map(void *address, size_t length, int protection, int flags, int fd, off64_t offset) {
    if (!(flags & kMapFixedNoReplace)) return MapPages(address, length, protection, flags, fd, offset);
    void *mapped = MapPages(address, length, protection, flags & ~kMapFixedNoReplace, fd, offset);
    if (mapped == (void *)-1 || mapped == address) return mapped;
    /* Placed elsewhere: the address was taken. Undo, and say so as the kernel would. */
    syscall(kSysMunmap, mapped, length);
    return Fail(kErrorExists);
}

void *mmap(void *address, size_t length, int protection, int flags, int fd, long offset) {
    return Map(address, length, protection, flags, fd, offset);
}

void *mmap64(void *address, size_t length, int protection, int flags, int fd, off64_t offset) {
    return Map(address, length, protection, flags, fd, offset);
}
