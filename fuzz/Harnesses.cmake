# Every harness with the library it exercises; fuzz/<name>.cpp and fuzz/corpus/<name>/
# belong to each. Shared by the libFuzzer build and the regression runs of the tests.
set(BVL_FUZZ_HARNESSES
    fuzz_settingfile:bvl_core
    fuzz_settingheader:bvl_core
    fuzz_langfile:bvl_lang
    fuzz_seemname:bvl_seem
    fuzz_decode:bvl_seem)

# Splits one "name:library" entry of BVL_FUZZ_HARNESSES.
macro(bvl_fuzz_harness_parts entry name_var library_var)
    string(REPLACE ":" ";" _bvl_parts ${entry})
    list(GET _bvl_parts 0 ${name_var})
    list(GET _bvl_parts 1 ${library_var})
endmacro()
