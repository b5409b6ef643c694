// Shared libraries opened when a run first needs them. A headless run (the form renderer, a test
// that draws) never touches the desktop window, sound, JPEG decoding or workbook automation, so
// the libraries behind them (SDL2, libjpeg, libxlsxwriter and what they pull in, the crypto
// library among them) are not linked into the program but opened by soname on the first call.
//
//   inline constinit LazyLibrary jpegLibrary{"libjpeg.so.62"};
//   inline constinit LazyFunction<decltype(::jpeg_std_error)> jpeg_std_error{jpegLibrary, "jpeg_std_error"};
//   jpeg_std_error(&err);  // opens the library and finds the symbol once, then calls straight through
//
// A LazyFunction has exactly the signature of the function it stands for (taken from the
// library's own header), so call sites read as before. Both are constant-initialised: no static
// initialisation order to worry about. A library, once opened, stays for the life of the process.
// When the library or the symbol cannot be found, the call throws LazyLibraryError naming both.
#pragma once

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#ifdef _WIN32
#include <thread>
#endif

namespace zxp::base {

class LazyLibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class LazyLibrary {
 public:
  constexpr explicit LazyLibrary(const char* soname) : soname_(soname) {}
  LazyLibrary(const LazyLibrary&) = delete;
  LazyLibrary& operator=(const LazyLibrary&) = delete;

  const char* soname() const { return soname_; }
  // Opens the library if needed; false (with the loader's reason in *why) when it cannot be.
  bool open(std::string* why = nullptr);
  // True once the library has been opened through us.
  bool isOpen() const { return handle_.load(std::memory_order_acquire) != nullptr; }
  // Opens the library only when the process has it loaded already (through us or not); false
  // otherwise, without loading it. For questions such as "is SDL's video running?".
  bool openIfLoaded();
  // The address of the named symbol; throws LazyLibraryError when it cannot be had.
  void* symbol(const char* name);

 private:
  const char* soname_;
  std::atomic<void*> handle_{nullptr};
#ifdef _WIN32
  // mingw-w64's std::mutex cannot be constant-initialised; opening is rare and short, so a lock
  // that yields while another thread opens does as well.
  class OpenLock {
   public:
    void lock() {
      while (flag_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
    }
    void unlock() { flag_.clear(std::memory_order_release); }

   private:
    std::atomic_flag flag_;
  };
  OpenLock mutex_;
#else
  std::mutex mutex_;
#endif
};

template <class Signature>
class LazyFunction;

template <class R, class... A>
class LazyFunction<R(A...)> {
 public:
  using Pointer = R (*)(A...);
  constexpr LazyFunction(LazyLibrary& library, const char* name) : library_(&library), name_(name) {}
  LazyFunction(const LazyFunction&) = delete;
  LazyFunction& operator=(const LazyFunction&) = delete;

  R operator()(A... args) const { return resolve()(args...); }

 private:
  Pointer resolve() const {
    Pointer p = cached_.load(std::memory_order_acquire);
    if (!p) {
      p = reinterpret_cast<Pointer>(library_->symbol(name_));
      cached_.store(p, std::memory_order_release);
    }
    return p;
  }

  LazyLibrary* library_;
  const char* name_;
  mutable std::atomic<Pointer> cached_{nullptr};
};

}  // namespace zxp::base
