// The check of a library file before dlopen maps it: the ELF header, the
// program and section header tables, every segment's extent in the file,
// and the dynamic table's pointers into the loaded image. dlopen trusts all
// of them: a file cut short is mapped past its end, and the first touch of a
// missing page kills the process with SIGBUS.
#include "platform/posix/library_check.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace zu::platform::posix {
namespace {

// The ELF machine of this build; 0 leaves the machine unchecked.
constexpr uint16_t kMachine =
#if defined(__x86_64__)
    EM_X86_64;
#elif defined(__aarch64__)
    EM_AARCH64;
#elif defined(__i386__)
    EM_386;
#elif defined(__arm__)
    EM_ARM;
#elif defined(__riscv)
    EM_RISCV;
#elif defined(__powerpc64__)
    EM_PPC64;
#elif defined(__s390x__)
    EM_S390;
#else
    0;
#endif

constexpr unsigned char kClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kData =
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;
// A dynamic table larger than this is no module's: refused rather than read.
constexpr uint64_t kMaxDynamicBytes = 1 << 20;

using Ehdr = ElfW(Ehdr);
using Phdr = ElfW(Phdr);
using Shdr = ElfW(Shdr);
using Dyn = ElfW(Dyn);

// [offset, offset + length) lies within [0, total), without overflow.
bool Within(uint64_t offset, uint64_t length, uint64_t total) {
  return offset <= total && length <= total - offset;
}

bool ReadAt(int fd, void* buffer, size_t length, uint64_t offset) {
  char* out = static_cast<char*>(buffer);
  while (length > 0) {
    ssize_t n = pread(fd, out, length, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    out += n;
    length -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

class ElfCheck {
 public:
  ElfCheck(int fd, uint64_t size) : fd_(fd), size_(size) {}

  bool Passes() { return Header() && Segments() && Dynamic(); }

 private:
  bool Header() {
    if (size_ < sizeof(Ehdr) || !ReadAt(fd_, &header_, sizeof header_, 0)) return false;
    const unsigned char* id = header_.e_ident;
    if (id[EI_MAG0] != ELFMAG0 || id[EI_MAG1] != ELFMAG1 || id[EI_MAG2] != ELFMAG2 ||
        id[EI_MAG3] != ELFMAG3)
      return false;
    if (id[EI_CLASS] != kClass || id[EI_DATA] != kData || id[EI_VERSION] != EV_CURRENT)
      return false;
    if (header_.e_type != ET_DYN) return false;
    if (kMachine != 0 && header_.e_machine != kMachine) return false;
    if (header_.e_phentsize != sizeof(Phdr) || header_.e_phnum == 0 || header_.e_phnum == PN_XNUM)
      return false;
    if (!Within(header_.e_phoff, uint64_t{header_.e_phnum} * sizeof(Phdr), size_)) return false;
    // The section headers are no business of the loader, but a file cut in
    // their table is cut all the same.
    if (header_.e_shnum != 0 &&
        (header_.e_shentsize != sizeof(Shdr) ||
         !Within(header_.e_shoff, uint64_t{header_.e_shnum} * sizeof(Shdr), size_)))
      return false;
    segments_.resize(header_.e_phnum);
    return ReadAt(fd_, segments_.data(), segments_.size() * sizeof(Phdr), header_.e_phoff);
  }

  // Every segment's bytes are in the file; a loadable one maps no more of
  // the file than it occupies in memory.
  bool Segments() {
    bool loadable = false;
    for (const Phdr& s : segments_) {
      if (!Within(s.p_offset, s.p_filesz, size_)) return false;
      if (s.p_type == PT_LOAD) {
        if (s.p_filesz > s.p_memsz) return false;
        if (s.p_vaddr + s.p_memsz < s.p_vaddr) return false;  // wraps around
        loadable = true;
      }
    }
    return loadable;
  }

  // Whether [address, address + length) lies within the memory image of one
  // loadable segment.
  bool InImage(uint64_t address, uint64_t length) const {
    for (const Phdr& s : segments_) {
      if (s.p_type != PT_LOAD || address < s.p_vaddr) continue;
      if (Within(address - s.p_vaddr, length, s.p_memsz)) return true;
    }
    return false;
  }

  // The dynamic table ends with DT_NULL, and every table it points to lies
  // in the image, with the string offsets inside the string table.
  bool Dynamic() {
    const Phdr* dynamic = nullptr;
    for (const Phdr& s : segments_) {
      if (s.p_type != PT_DYNAMIC) continue;
      if (dynamic != nullptr) return false;
      dynamic = &s;
    }
    if (dynamic == nullptr || dynamic->p_filesz < sizeof(Dyn) ||
        dynamic->p_filesz > kMaxDynamicBytes || !InImage(dynamic->p_vaddr, dynamic->p_filesz))
      return false;
    std::vector<Dyn> entries(dynamic->p_filesz / sizeof(Dyn));
    if (!ReadAt(fd_, entries.data(), entries.size() * sizeof(Dyn), dynamic->p_offset)) return false;

    struct Table {
      int64_t AddressTag, SizeTag;
      uint64_t Address = 0, Size = 0;
      bool HasAddress = false;
    };
    Table tables[] = {
        {DT_STRTAB, DT_STRSZ},
        {DT_RELA, DT_RELASZ},
        {DT_REL, DT_RELSZ},
        {DT_JMPREL, DT_PLTRELSZ},
        {DT_INIT_ARRAY, DT_INIT_ARRAYSZ},
        {DT_FINI_ARRAY, DT_FINI_ARRAYSZ},
        {DT_PREINIT_ARRAY, DT_PREINIT_ARRAYSZ},
    };
    // Tables known by their address alone: it must at least be in the image.
    const int64_t kPointers[] = {DT_SYMTAB, DT_HASH,   DT_GNU_HASH, DT_INIT,   DT_FINI,
                                 DT_PLTGOT, DT_VERSYM, DT_VERDEF,   DT_VERNEED};
    std::vector<uint64_t> names;  // string-table offsets of DT_NEEDED and the like
    bool ended = false, symbols = false;
    for (const Dyn& d : entries) {
      if (d.d_tag == DT_NULL) {
        ended = true;
        break;
      }
      uint64_t value = d.d_un.d_val;
      for (Table& t : tables) {
        if (d.d_tag == t.AddressTag) {
          t.Address = value;
          t.HasAddress = true;
        } else if (d.d_tag == t.SizeTag) {
          t.Size = value;
        }
      }
      for (int64_t tag : kPointers) {
        if (d.d_tag == tag && !InImage(value, 1)) return false;
      }
      if (d.d_tag == DT_SYMTAB) symbols = true;
      if (d.d_tag == DT_NEEDED || d.d_tag == DT_SONAME || d.d_tag == DT_RPATH ||
          d.d_tag == DT_RUNPATH)
        names.push_back(value);
    }
    if (!ended || !symbols || !tables[0].HasAddress) return false;
    for (const Table& t : tables) {
      if (t.HasAddress && !InImage(t.Address, t.Size)) return false;
    }
    for (uint64_t name : names) {
      if (name >= tables[0].Size) return false;
    }
    return true;
  }

  int fd_;
  uint64_t size_;
  Ehdr header_{};
  std::vector<Phdr> segments_;
};

}  // namespace

int CheckLibraryFile(const std::string& path) {
  // Not blocking, so that a named pipe in the module's place cannot hang the
  // open; it then fails the regular-file test below.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    return errno == EACCES || errno == EPERM ? kLibraryAccessDenied : kLibraryNotFound;
  }
  struct stat st {};
  int code = 0;
  if (fstat(fd, &st) != 0) {
    code = kLibraryBadFormat;
  } else if (S_ISDIR(st.st_mode)) {
    code = kLibraryAccessDenied;
  } else if (!S_ISREG(st.st_mode) || !ElfCheck(fd, static_cast<uint64_t>(st.st_size)).Passes()) {
    code = kLibraryBadFormat;
  }
  close(fd);
  return code;
}

}  // namespace zu::platform::posix
