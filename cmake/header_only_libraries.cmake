# CLI11 and nlohmann-json, both header-only, from Debian's packages. A cross build
# cannot take them through their CMake packages: those put the host's
# /usr/include on the compiler's path, ahead of the target's C library headers.
# It gets a copy of just their headers in the build tree instead.
if(CMAKE_CROSSCOMPILING)
  set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
  foreach(folder CLI nlohmann)
    if(NOT EXISTS /usr/include/${folder})
      message(FATAL_ERROR "/usr/include/${folder} is missing: install libcli11-dev and nlohmann-json3-dev")
    endif()
    file(COPY /usr/include/${folder} DESTINATION ${host_headers})
  endforeach()
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${host_headers})
  target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${host_headers})
else()
  find_package(CLI11 CONFIG REQUIRED)
  find_package(nlohmann_json CONFIG REQUIRED)
endif()
