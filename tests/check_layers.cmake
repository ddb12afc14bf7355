# Checks the includes of every layer against the layer rules: below the
# line (the cores, textbuf, numlib, app without its window folder) no Qt,
# no ui/, no window/ folder, no cli/; in ui/ no window/ folder and no cli/;
# in cli/ no Qt, no ui/ and no window/ folder. Run: cmake -DROOT=... -P.
set(core_folders numlib textbuf formula app calculator equations linear polynomial primes)
set(failures "")

function(check_folder folder pattern what)
  file(GLOB files ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  foreach(f IN LISTS files)
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(line MATCHES "${pattern}")
        file(RELATIVE_PATH rel ${ROOT} ${f})
        set(failures "${failures}\n  ${rel}: ${line} (${what})" PARENT_SCOPE)
      endif()
    endforeach()
  endforeach()
endfunction()

set(qt "<Q[A-Za-z]|<qt|[\"<]Qt")
set(above "[\"<](ui|cli)/|/window/")
foreach(folder IN LISTS core_folders)
  check_folder(${folder} "${qt}|${above}" "a core includes nothing above the line")
endforeach()
check_folder(ui "/window/|[\"<]cli/" "the toolkit includes no window and no command line")
check_folder(cli "${qt}|[\"<]ui/|/window/" "the command line includes no Qt and no window")

if(failures)
  message(FATAL_ERROR "Includes across the layers:${failures}")
endif()
