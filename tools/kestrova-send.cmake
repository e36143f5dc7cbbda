# kestrova-send: the companion's side of the messages, for users and tests.
set(send_dir ${CMAKE_CURRENT_LIST_DIR}/kestrova-send)
add_library(kestrova_send_core STATIC ${send_dir}/send_options.cpp)
target_include_directories(kestrova_send_core PUBLIC ${send_dir})
target_link_libraries(kestrova_send_core PUBLIC exchange)

add_executable(kestrova-send ${send_dir}/main.cpp)
target_link_libraries(kestrova-send PRIVATE kestrova_send_core exchange_qt)
install(TARGETS kestrova-send RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
