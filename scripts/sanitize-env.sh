# Sourced by the sanitizer and fuzz scripts: the build folder and how its programs report.
# Every finding, leaks included, ends the program with a failure.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# Configures build-sanitize/: clang, -fsanitize=address,undefined, the fuzz targets.
configure_sanitize_build() {
  bash scripts/deps.sh
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DKETRILO_SANITIZE=ON >/dev/null
}
