// Files over POSIX descriptors, with the platform's dispositions and with
// share modes enforced between the handles this process has open. Other
// processes are not seen: POSIX has no share modes to honour.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/fault.h"
#include "platform/kernel.h"

namespace {

// Owns its descriptor, so it is never copied.
struct OpenFile {
  int fd;
  DWORD access;
  DWORD share;
  dev_t device;
  ino_t inode;
  OpenFile(int fd, DWORD access, DWORD share, const struct stat &st)
      : fd(fd), access(access), share(share), device(st.st_dev), inode(st.st_ino) {}
  OpenFile(const OpenFile &) = delete;
  OpenFile &operator=(const OpenFile &) = delete;
  ~OpenFile() { close(fd); }
};

// Handles are opaque numbers looked up here, never dereferenced. A call in
// progress holds its own reference, so a concurrent CloseHandle cannot make
// its descriptor go away (or be reused) under it.
struct FileTable {
  std::mutex lock;
  std::map<HANDLE, std::shared_ptr<OpenFile>> open;
  uintptr_t next = 4;
};

FileTable &Table() {
  static FileTable *table = new FileTable;  // never destroyed: calls may come late at exit
  return *table;
}

std::shared_ptr<OpenFile> Lookup(HANDLE file) {
  FileTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  auto it = t.open.find(file);
  return it == t.open.end() ? nullptr : it->second;
}

// Each side must allow what the other does. A handle without read or write
// access takes part in no conflict, as on the original platform.
bool Conflicts(const OpenFile &open, DWORD access, DWORD share) {
  const DWORD data = GENERIC_READ | GENERIC_WRITE;
  if (!(open.access & data) || !(access & data)) return false;
  if ((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ)) return true;
  if ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE)) return true;
  if ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return true;
  if ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return true;
  return false;
}

// A missing file whose directory is also missing is a missing path.
DWORD MissingError(const char *name) {
  std::string dir(name);
  size_t slash = dir.find_last_of('/');
  if (slash == std::string::npos) return ERROR_FILE_NOT_FOUND;
  dir.resize(slash == 0 ? 1 : slash);
  struct stat st;
  return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ERROR_FILE_NOT_FOUND
                                                             : ERROR_PATH_NOT_FOUND;
}

DWORD ErrorFromErrno(int error, const char *name) {
  switch (error) {
    case ENOENT: return MissingError(name);
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF: return ERROR_INVALID_HANDLE;
    default: return ERROR_ACCESS_DENIED;
  }
}

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

// What ReadFile and WriteFile check before moving data: the fault, the
// handle, its access and the arguments. Gives the file, or null with the last
// error set; the count is 0 either way.
std::shared_ptr<OpenFile> FileFor(const char *call, HANDLE file, DWORD access, const void *data,
                                  DWORD bytes, LPDWORD count, LPVOID overlapped) {
  if (count) *count = 0;
  if (platform::FailWithLastError(call, nullptr, ERROR_ACCESS_DENIED)) return nullptr;
  std::shared_ptr<OpenFile> f = Lookup(file);
  DWORD error = ERROR_SUCCESS;
  if (!f)
    error = ERROR_INVALID_HANDLE;
  else if (!(f->access & access))
    error = ERROR_ACCESS_DENIED;
  else if (overlapped != nullptr || (data == nullptr && bytes != 0))
    error = ERROR_INVALID_PARAMETER;  // overlapped (asynchronous) transfers are not supported
  if (error == ERROR_SUCCESS) return f;
  SetLastError(error);
  return nullptr;
}

// Moves all the bytes unless the file ends first (a transfer of 0 bytes);
// the count tells how many moved, also on failure.
template <typename Op>
BOOL Transfer(Op op, int fd, char *p, DWORD bytes, LPDWORD count) {
  DWORD done = 0;
  BOOL ok = TRUE;
  while (done < bytes) {
    ssize_t n = op(fd, p + done, bytes - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastError(ErrorFromErrno(errno, ""));
      ok = FALSE;
    }
    if (n <= 0) break;
    done += static_cast<DWORD>(n);
  }
  if (count) *count = done;
  return ok;
}

}  // namespace

// Relative names resolve against the current directory, as open() does, and
// '\' separates folders as '/' does.
PLATFORM_API HANDLE WINAPI CreateFileA(LPCSTR givenName, DWORD access, DWORD shareMode,
                                       LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                       DWORD flagsAndAttributes, HANDLE templateFile) {
  if (platform::FailWithLastError("CreateFileA", givenName, ERROR_ACCESS_DENIED))
    return INVALID_HANDLE_VALUE;
  if (givenName == nullptr || disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING)
    return Fail(ERROR_INVALID_PARAMETER);
  std::string path(givenName);
  for (char &c : path)
    if (c == '\\') c = '/';
  const char *name = path.c_str();
  if (name[0] == 0) return Fail(ERROR_PATH_NOT_FOUND);
  // Truncating needs the right to write.
  if (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))
    return Fail(ERROR_INVALID_PARAMETER);

  FileTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);  // held so no other open slips in between the checks
  struct stat st;
  bool exists = stat(name, &st) == 0;
  if (!exists && errno != ENOENT) return Fail(ErrorFromErrno(errno, name));
  if (exists && disposition == CREATE_NEW) return Fail(ERROR_FILE_EXISTS);
  if (!exists && (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING))
    return Fail(MissingError(name));
  if (exists) {
    if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    // Checked before opening, so a refused open never truncates the file.
    for (auto &entry : t.open) {
      const OpenFile &f = *entry.second;
      if (f.device == st.st_dev && f.inode == st.st_ino && Conflicts(f, access, shareMode))
        return Fail(ERROR_SHARING_VIOLATION);
    }
  }

  int flags = O_CLOEXEC;
  if ((access & GENERIC_READ) && (access & GENERIC_WRITE))
    flags |= O_RDWR;
  else if (access & GENERIC_WRITE)
    flags |= O_WRONLY;
  else
    flags |= O_RDONLY;
  switch (disposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
  }
  int fd = open(name, flags, 0666);
  if (fd < 0) return Fail(ErrorFromErrno(errno, name));
  if (fstat(fd, &st) != 0) {
    int error = errno;
    close(fd);
    return Fail(ErrorFromErrno(error, name));
  }

  auto file = std::make_shared<OpenFile>(fd, access, shareMode, st);
  HANDLE handle = reinterpret_cast<HANDLE>(t.next);
  t.next += 4;
  t.open.emplace(handle, std::move(file));
  // The "always" dispositions tell whether they found the file there.
  bool always = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
  SetLastError(always && exists ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

PLATFORM_API BOOL WINAPI WriteFile(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written,
                                   LPVOID overlapped) {
  std::shared_ptr<OpenFile> f =
      FileFor("WriteFile", file, GENERIC_WRITE, data, bytes, written, overlapped);
  if (!f) return FALSE;
  auto writeSome = [](int fd, char *p, DWORD n) { return write(fd, p, n); };
  return Transfer(writeSome, f->fd, static_cast<char *>(const_cast<void *>(data)), bytes, written);
}

// At the end of the file the call succeeds with 0 bytes.
PLATFORM_API BOOL WINAPI ReadFile(HANDLE file, LPVOID data, DWORD bytes, LPDWORD read,
                                  LPVOID overlapped) {
  std::shared_ptr<OpenFile> f = FileFor("ReadFile", file, GENERIC_READ, data, bytes, read, overlapped);
  if (!f) return FALSE;
  auto readSome = [](int fd, char *p, DWORD n) { return ::read(fd, p, n); };
  return Transfer(readSome, f->fd, static_cast<char *>(data), bytes, read);
}

// Files are the only kernel objects with handles here.
PLATFORM_API BOOL WINAPI CloseHandle(HANDLE object) {
  if (platform::FailWithLastError("CloseHandle", nullptr, ERROR_INVALID_HANDLE)) return FALSE;
  std::shared_ptr<OpenFile> f;  // closed after the lock is released
  FileTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  auto it = t.open.find(object);
  if (it == t.open.end()) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
  f = std::move(it->second);
  t.open.erase(it);
  return TRUE;
}
