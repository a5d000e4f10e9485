public class WaitInput {
    public static void main(String[] args) throws Exception {
        System.out.println("ready");
        System.out.flush();
        int c = System.in.read();
        System.out.println("read " + c);
    }
}
