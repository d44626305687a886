# The skinned window chrome: its geometry and the manager's rules are platform-free
# (tested natively); the window system's side is built into the program's UI library.
target_sources(pimblo_skin PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/skin_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skin_choice.cpp)
target_link_libraries(pimblo_skin PUBLIC pimblo_sprites)
