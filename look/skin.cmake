# The skin package layer: LZHUF, the package reader, the description parser, and the skinpack tool.
add_library(pimblo_skin STATIC
  ${CMAKE_CURRENT_LIST_DIR}/lzh.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skin_read.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win_skin_ini.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmp_read.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win_skin_data.cpp)
target_include_directories(pimblo_skin PUBLIC ${PROJECT_SOURCE_DIR})
pimblo_target(pimblo_skin)

add_executable(skinpack ${PROJECT_SOURCE_DIR}/tools/skinpack/skinpack.cpp)
target_link_libraries(skinpack PRIVATE pimblo_skin)
pimblo_target(skinpack)

file(GLOB PIMBLO_SKIN_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/skin/*.cpp)
add_executable(pimblo_skin_tests ${PIMBLO_SKIN_TEST_SOURCES})
target_link_libraries(pimblo_skin_tests PRIVATE pimblo_skin pimblo_assets pimblo_sprites ${PIMBLO_GTEST})
pimblo_target(pimblo_skin_tests)
add_test(NAME pimblo_skin_tests COMMAND pimblo_skin_tests)
