# The settings reader's libFuzzer target (clang, ASan + UBSan).
add_executable(fuzz_settings ${CMAKE_CURRENT_LIST_DIR}/SettingsReaderFuzz.cpp)
target_compile_options(fuzz_settings PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(fuzz_settings PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(fuzz_settings PRIVATE lumidrax_settings)
