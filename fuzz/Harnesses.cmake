# Every harness; fuzz/<name>.cpp and fuzz/corpus/<name>/ belong to each. Shared by the
# libFuzzer build and the regression runs of the tests. All of them exercise bvl_core.
set(BVL_FUZZ_HARNESSES
    fuzz_settingfile
    fuzz_settingheader
    fuzz_langfile
    fuzz_seemname
    fuzz_decode
    fuzz_json)
