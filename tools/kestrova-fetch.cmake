# kestrova-fetch: the version file and the network status for the design
# program's update check, so its own process never loads the network stack.
add_executable(kestrova-fetch ${CMAKE_CURRENT_LIST_DIR}/kestrova-fetch/main.cpp)
target_link_libraries(kestrova-fetch PRIVATE update_net support)
install(TARGETS kestrova-fetch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
