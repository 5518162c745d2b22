# The shared libraries behind imported targets, named by their run-time file.
#
# libtrc.a is a static library, so a program that links it must link what the
# library calls too. It needs nothing else of those dependencies: no header of
# the library includes theirs. So the package names each one by the file its
# run-time package installs (libcurl.so.4, not the libcurl.so symlink that only
# the development package has): a host links trc with the run-time packages
# alone, and finds no dependency's headers, defines or include paths.

# Appends to out_var the run-time files of the libraries behind items (imported
# targets, recursively through their link interfaces, or library paths).
# Names that are neither (a system library such as "dl") are kept as they are.
function(trc_runtime_library_files out_var)
  set(files ${${out_var}})
  foreach(item IN LISTS ARGN)
    if(TARGET ${item})
      get_target_property(type ${item} TYPE)
      set(location "")
      if(NOT type STREQUAL "INTERFACE_LIBRARY")
        get_target_property(location ${item} IMPORTED_LOCATION)
        if(NOT location)
          get_target_property(configurations ${item} IMPORTED_CONFIGURATIONS)
          foreach(configuration IN LISTS configurations)
            get_target_property(location ${item} IMPORTED_LOCATION_${configuration})
            if(location)
              break()
            endif()
          endforeach()
        endif()
      endif()
      if(location)
        trc_runtime_library_files(files ${location})
      endif()
      get_target_property(interface ${item} INTERFACE_LINK_LIBRARIES)
      if(interface)
        trc_runtime_library_files(files ${interface})
      endif()
    elseif(IS_ABSOLUTE "${item}" AND item MATCHES "\\.so(\\.|$)")
      # The file the loader looks for is the library's SONAME, beside it.
      execute_process(COMMAND ${CMAKE_OBJDUMP} -p ${item} OUTPUT_VARIABLE dynamic ERROR_QUIET)
      if(dynamic MATCHES "SONAME +([^\n ]+)")
        get_filename_component(folder ${item} DIRECTORY)
        set(item ${folder}/${CMAKE_MATCH_1})
      endif()
      list(APPEND files ${item})
    elseif(NOT item MATCHES "^(\\$<|-)")
      list(APPEND files ${item})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES files)
  set(${out_var} ${files} PARENT_SCOPE)
endfunction()

# The same files as linker flags for pkg-config: -l:<file>, with -L<folder>
# only for a folder the linker does not search by itself.
function(trc_pkgconfig_libs out_var)
  set(flags "")
  foreach(item IN LISTS ARGN)
    if(IS_ABSOLUTE "${item}")
      get_filename_component(folder ${item} DIRECTORY)
      get_filename_component(name ${item} NAME)
      if(NOT folder IN_LIST CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES)
        list(APPEND flags "-L${folder}")
      endif()
      list(APPEND flags "-l:${name}")
    else()
      list(APPEND flags "-l${item}")
    endif()
  endforeach()
  list(JOIN flags " " joined)
  set(${out_var} "${joined}" PARENT_SCOPE)
endfunction()
