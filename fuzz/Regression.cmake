# Regression runs of the fuzz harnesses inside the normal test build (any compiler, no
# libFuzzer): each harness replays its committed corpus as the CTest test fuzzreg_<name>.
include(${CMAKE_CURRENT_LIST_DIR}/Harnesses.cmake)

foreach(harness ${BVL_FUZZ_HARNESSES})
    add_executable(fuzzreg_${harness} ${CMAKE_CURRENT_LIST_DIR}/${harness}.cpp ${CMAKE_CURRENT_LIST_DIR}/RegressionMain.cpp)
    target_link_libraries(fuzzreg_${harness} PRIVATE bvl_core)
    set_target_properties(fuzzreg_${harness} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME fuzzreg_${harness} COMMAND fuzzreg_${harness} ${CMAKE_CURRENT_LIST_DIR}/corpus/${harness})
    set_tests_properties(fuzzreg_${harness} PROPERTIES TIMEOUT 300)
endforeach()
