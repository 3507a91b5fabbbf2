package koru.test;

// Writes its first argument on System.out and its second on System.err.
public class Printer {
    public static void main(String[] args) {
        System.out.print(args[0]);
        System.err.print(args[1]);
    }
}
