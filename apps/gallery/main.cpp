// The gallery. For now: a page of the drawing layer's shapes written to PNG.
#include <cstdio>

int main() {
  std::puts("gallery: nothing to show yet");
  return 0;
}
