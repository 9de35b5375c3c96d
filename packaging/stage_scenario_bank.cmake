# Mirrors the scenario bank's shipped files (scenarios.json, exhibits/*.txt,
# diagrams/*.png) from FROM into TO. Runs at build time, so files added after
# configuring are picked up, and files no longer in FROM are removed from TO.
# TO is always created, so the install rule has a folder even before the bank
# exists.
cmake_minimum_required(VERSION 3.24)
set(patterns scenarios.json exhibits/*.txt diagrams/*.png)
list(TRANSFORM patterns PREPEND "${FROM}/" OUTPUT_VARIABLE wanted)
file(GLOB shipped RELATIVE "${FROM}" ${wanted})
list(TRANSFORM patterns PREPEND "${TO}/" OUTPUT_VARIABLE staged_patterns)
file(GLOB staged RELATIVE "${TO}" ${staged_patterns})

file(MAKE_DIRECTORY "${TO}")
foreach(name IN LISTS staged)
    if(NOT name IN_LIST shipped)
        file(REMOVE "${TO}/${name}")
    endif()
endforeach()
foreach(name IN LISTS shipped)
    get_filename_component(folder "${TO}/${name}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY_FILE "${FROM}/${name}" "${TO}/${name}" ONLY_IF_DIFFERENT)
endforeach()
