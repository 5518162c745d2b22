# Every header in an internal/ folder of src/ declares its names in the
# internal namespace of the folder above it (src/formcells/internal/ in
# trc::formcells::internal, src/platform/core/internal/ in
# trc::core::internal), so a name no other layer may use never reads as one
# of its layer's own.
# cmake -DSRC=<src folder> -P InternalNamespaces.cmake
file(GLOB_RECURSE headers "${SRC}/*/internal/*.h")
if(NOT headers)
  message(FATAL_ERROR "no header under ${SRC}/*/internal/")
endif()
set(wrong "")
foreach(header ${headers})
  get_filename_component(folder "${header}" DIRECTORY)
  get_filename_component(owner "${folder}" DIRECTORY)
  get_filename_component(layer "${owner}" NAME)
  file(READ "${header}" text)
  string(FIND "${text}" "namespace trc::${layer}::internal {" at)
  if(at EQUAL -1)
    string(APPEND wrong "\n  ${header}: no namespace trc::${layer}::internal")
  endif()
endforeach()
if(wrong)
  message(FATAL_ERROR "internal headers outside their internal namespace:${wrong}")
endif()
