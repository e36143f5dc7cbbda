# vantrel: the driver library, the design program's companion on the bus.
# Its window, form and link are a library of their own for the window tests.
set(vantrel_dir ${CMAKE_CURRENT_LIST_DIR}/vantrel)
add_library(vantrel_core STATIC
  ${vantrel_dir}/kestrova_link.cpp ${vantrel_dir}/library_window.cpp ${vantrel_dir}/driver_dialog.cpp)
target_include_directories(vantrel_core PUBLIC ${vantrel_dir})
target_link_libraries(vantrel_core PUBLIC library_qt exchange_qt support_qt Qt6::Widgets)

add_executable(vantrel ${vantrel_dir}/main.cpp)
target_link_libraries(vantrel PRIVATE vantrel_core)
add_dependencies(vantrel kestrova_resources)
install(TARGETS vantrel RUNTIME DESTINATION bin)
