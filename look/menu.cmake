# The flat look of the context menu: the drawing logic against a small canvas
# (platform-free, tested natively), and the GDI canvas that joins it to the
# program's popup menu.
add_library(pimblo_xpmenu STATIC
  ${CMAKE_CURRENT_LIST_DIR}/xp_menu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menu_colors.cpp)
target_include_directories(pimblo_xpmenu PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pimblo_xpmenu PUBLIC pimblo_sprites)
pimblo_target(pimblo_xpmenu)

if(WIN32)
  add_library(pimblo_xpmenu_win32 STATIC ${PROJECT_SOURCE_DIR}/app/framework/win32_canvas.cpp
    ${PROJECT_SOURCE_DIR}/app/framework/dpi.cpp)
  target_include_directories(pimblo_xpmenu_win32 PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(pimblo_xpmenu_win32 PUBLIC pimblo_xpmenu gdi32 user32 msimg32)
  pimblo_target(pimblo_xpmenu_win32)
endif()

file(GLOB PIMBLO_MENU_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/menu/*.cpp)
add_executable(pimblo_menu_tests ${PIMBLO_MENU_TEST_SOURCES})
target_link_libraries(pimblo_menu_tests PRIVATE pimblo_xpmenu ${PIMBLO_GTEST})
if(WIN32)
  # The GDI canvas and the glue to the framework's popup menu, on memory contexts.
  target_link_libraries(pimblo_menu_tests PRIVATE pimblo_xpmenu_win32 pimblo_ui)
endif()
pimblo_target(pimblo_menu_tests)
add_test(NAME pimblo_menu_tests COMMAND pimblo_menu_tests)
